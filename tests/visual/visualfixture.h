#pragma once

#include "designerfixture.h"
#include "formlayout.h"
#include "messagerecorder.h"
#include "placementdialog.h"
#include "previewwindow.h"
#include "visualdesigner.h"

#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A definition loaded in the designer from an FMT file and its preview opened with CommandBAK,
// with the operator's mouse on the drawn form as methods. Positions are given as cells and
// turned into pixels from the form's twips.
struct VisualRig
{
    QTemporaryDir dir;
    MessageRecorder boxes;
    std::unique_ptr<DesignerUnderTest> d;
    QPointer<PreviewWindow> preview;
    QPointer<VisualDesigner> dokum;

    explicit VisualRig(const QByteArray &fmt, const QString &name = QStringLiteral("form"))
    {
        const QString folder = dir.path() + u'/';
        TestFiles::write(folder + name + QStringLiteral(".fmt"), fmt);
        d = std::make_unique<DesignerUnderTest>(folder);
        d->name(name);
        QTest::mouseClick(d->w->CommandBAK, Qt::LeftButton);
        preview = d->w->preview();
        if (preview)
            dokum = preview->dokum;
    }

    formdef::DefinitionModel &model() { return d->w->model(); }
    PlacementDialog *fyer() const { return dokum->placement(); }

    QPoint pixelAt(QPoint twips) const { return dokum->toPixels(twips); }
    QPoint centre(int row, int column) const
    {
        return dokum->toPixels(dokum->geometry().centre(row, column));
    }
    void press(int row, int column, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(dokum, button, {}, centre(row, column));
    }
    void moveTo(int row, int column) { QTest::mouseMove(dokum, centre(row, column)); }
    void release(int row, int column, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(dokum, button, {}, centre(row, column));
    }
    // A plain move, no button held.
    void hover(QPoint pixels)
    {
        QMouseEvent move(QEvent::MouseMove, pixels, dokum->mapToGlobal(pixels), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(dokum, &move);
    }
    void drag(int fromRow, int fromColumn, int toRow, int toColumn)
    {
        press(fromRow, fromColumn);
        moveTo(toRow, toColumn);
        release(toRow, toColumn);
    }
};

// Whether a pixel within `reach` of `at` passes `wanted`.
inline bool anyNear(const QImage &image, QPoint at, int reach,
                    const std::function<bool(QRgb)> &wanted)
{
    for (int y = at.y() - reach; y <= at.y() + reach; ++y)
        for (int x = at.x() - reach; x <= at.x() + reach; ++x)
            if (image.valid(x, y) && wanted(image.pixel(x, y)))
                return true;
    return false;
}

inline std::function<bool(QRgb)> exactly(const QColor &colour)
{
    return [rgb = colour.rgb()](QRgb pixel) { return (pixel | 0xFF000000) == rgb; };
}

// The looks the operator knows: red field bubbles, light-cyan empty ones.
inline const QColor kRed{255, 0, 0};
inline const QColor kCyan{0, 255, 255};

inline bool isDark(QRgb pixel)
{
    return qGray(pixel) < 110;
}
