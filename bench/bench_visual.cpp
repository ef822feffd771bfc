// The visual designer on a 99-row form with every cell covered by a field: opening the preview
// up to its first full paint (goal: at most 100 ms), and a drag across the whole form in 500
// mouse moves (goal: at most 2 ms a move, every cell of the growing rectangle kept red).
#include "definitionmodel.h"
#include "fmtline.h"
#include "formlayout.h"
#include "formpainter.h"
#include "previewwindow.h"
#include "visualdesigner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace formdef;

namespace {

// One field a row, across all 48 columns.
Definition coveredForm()
{
    Definition definition{QStringLiteral("99"), kMarksLeft, {}};
    const QString set = QStringLiteral("ABCÇDEFGĞHIİJKLMNOÖPRSŞTUÜVYZ0123456789ABCDEFGHIJ");
    for (int row = 1; row <= kMaxNumber; ++row) {
        const QString r = QString::number(row);
        definition.fields.append({r, r, QStringLiteral("1"), QStringLiteral("48"),
                                  QStringLiteral("Y"), set.left(48), QStringLiteral("S") + r,
                                  QString()});
    }
    return definition;
}

double median(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    DefinitionModel model;
    model.load(coveredForm());
    model.setName(QStringLiteral("dolu"));
    std::printf("99-row form, every cell in a field, %d rounds\n", rounds);

    QList<double> opening;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        PreviewWindow preview(model);
        preview.show();
        preview.dokum->repaint();
        opening.append(timer.nsecsElapsed() / 1e6);
    }
    std::printf("  open to first full paint   median %7.2f ms   worst %7.2f ms   (goal 100)\n",
                median(opening), *std::max_element(opening.begin(), opening.end()));

    // A drag from the top-left cell to the bottom-right one, the rectangle growing on the way.
    PreviewWindow preview(model);
    preview.show();
    VisualDesigner *dokum = preview.dokum;
    const auto at = [dokum](int row, int column) {
        return dokum->toPixels(dokum->geometry().centre(row, column));
    };
    constexpr int kMoves = 500;
    QTest::mousePress(dokum, Qt::LeftButton, {}, at(1, 1));
    QList<double> moves;
    QList<double> growing; // the moves that took in new cells
    QElapsedTimer all;
    all.start();
    for (int i = 1; i <= kMoves; ++i) {
        const int row = 1 + (kMaxNumber - 1) * i / kMoves;
        const int column = 1 + (kColumns - 1) * i / kMoves;
        const visual::CellBox before = dokum->marked();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseMove(dokum, at(row, column));
        moves.append(timer.nsecsElapsed() / 1e6);
        if (dokum->marked() != before)
            growing.append(moves.last());
    }
    const double total = all.nsecsElapsed() / 1e6;
    std::printf("  %d moves of a drag         mean %7.3f ms   median %7.3f ms   worst %7.3f ms"
                "   (goal 2)\n",
                kMoves, total / kMoves, median(moves),
                *std::max_element(moves.begin(), moves.end()));

    std::printf("  of them %d growing          median %7.3f ms   worst %7.3f ms\n",
                int(growing.size()), median(growing),
                *std::max_element(growing.begin(), growing.end()));

    // Every cell of the rectangle shows a red ring.
    const visual::CellBox marked = dokum->marked();
    int red = 0;
    const QRgb wanted = visual::kFieldColour.rgb();
    for (int row = marked.startRow; row <= marked.endRow; ++row) {
        for (int column = marked.startColumn; column <= marked.endColumn; ++column) {
            const QPoint ring = at(row, column) + dokum->toPixels({visual::kBubbleRadius, 0});
            for (int dx = -1; dx <= 1; ++dx) {
                if (dokum->image().pixel(ring + QPoint(dx, 0)) == wanted) {
                    ++red;
                    break;
                }
            }
        }
    }
    const int cells =
        (marked.endRow - marked.startRow + 1) * (marked.endColumn - marked.startColumn + 1);
    std::printf("  rectangle rows %d-%d, columns %d-%d: %d of %d cells red\n", marked.startRow,
                marked.endRow, marked.startColumn, marked.endColumn, red, cells);
    QTest::mouseRelease(dokum, Qt::LeftButton, {}, at(kMaxNumber, kColumns));
    preview.close();
    return red == cells ? 0 : 1;
}
