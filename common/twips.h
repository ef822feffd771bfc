#pragma once

#include <QColor>
#include <QtGlobal>

// Window and printout geometry is kept in twips, 1440 to the inch, at the logical resolution
// of the device it is drawn on.
constexpr int kTwipsPerInch = 1440;

int twipsToPixels(int twips, int dotsPerInch);
int pixelsToTwips(int pixels, int dotsPerInch);
// Screen conversions use the primary screen's logical resolution (96 when there is none).
int screenDpi();
int twipsToScreen(int twips);
int screenToTwips(int pixels);

// Colours stored as &H00BBGGRR put blue in the high byte.
QColor colorFromBgr(quint32 bgr);
quint32 colorToBgr(const QColor &color);
