// The designer on the largest definition it holds, a 99-row form with 1000 fields: load, map
// rebuild, add at row 0 and delete row 0, on the model alone and with the designer window
// (offscreen) showing it. Goal: each at most 20 ms.
#include "definitionmodel.h"
#include "designerwindow.h"
#include "fmtline.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace formdef;

namespace {

// Field i: one row of four columns, the rows taken in turn, the columns in blocks of four.
QByteArray largestForm()
{
    QByteArray text = "99=44=00=D=\r\n";
    for (int i = 0; i < kDesignerMaxFields; ++i) {
        const int row = i % kMaxNumber + 1;
        const int column = i / kMaxNumber * 4 + 1;
        text += QStringLiteral("%1=%1=%2=%3=H=Y=ABCD=X=[S%4]\r\n")
                    .arg(row, 2, 10, QLatin1Char('0'))
                    .arg(column, 2, 10, QLatin1Char('0'))
                    .arg(column + 3, 2, 10, QLatin1Char('0'))
                    .arg(i + 1)
                    .toLatin1();
    }
    return text;
}

// Median and worst of `rounds` runs of `step`, in milliseconds.
void measure(const char *what, int rounds, const std::function<void()> &step)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-24s median %7.2f ms   worst %7.2f ms\n", what, times[times.size() / 2],
                times.last());
}

void run(DefinitionModel &model, const QByteArray &file, int rounds)
{
    const FieldDef entry{"50", "50", "45", "48", "Y", "ABCD", "YENİ", "-D"};
    measure("load", rounds, [&] { model.load(readDefinition(file)); });
    measure("map rebuild", rounds, [&] { model.rebuildMap(); });
    measure("add at row 0", rounds, [&] {
        model.insertRow(0);
        model.addOrReplace(1, entry);
    });
    measure("delete row 0", rounds, [&] { model.deleteRow(0); });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const QByteArray file = largestForm();
    std::printf("99-row form, %d fields, %d rounds each\n", kDesignerMaxFields, rounds);

    std::printf("model alone:\n");
    DefinitionModel model;
    run(model, file, rounds);

    std::printf("model shown in the designer window (TABLO and MTag):\n");
    auto *window = new DesignerWindow(QDir::tempPath() + QStringLiteral("/"));
    window->show();
    run(window->model(), file, rounds);
    delete window;
    return 0;
}
