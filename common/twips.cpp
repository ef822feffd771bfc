#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

int twipsToPixels(int twips, int dotsPerInch)
{
    return int(std::lround(double(twips) * dotsPerInch / kTwipsPerInch));
}

int pixelsToTwips(int pixels, int dotsPerInch)
{
    return dotsPerInch > 0 ? int(std::lround(double(pixels) * kTwipsPerInch / dotsPerInch)) : 0;
}

int screenDpi()
{
    const QScreen *screen = qobject_cast<QGuiApplication *>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return screen ? int(std::lround(screen->logicalDotsPerInch())) : 96;
}

int twipsToScreen(int twips)
{
    return twipsToPixels(twips, screenDpi());
}

int screenToTwips(int pixels)
{
    return pixelsToTwips(pixels, screenDpi());
}

QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 colorToBgr(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
