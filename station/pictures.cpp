#include "pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap lamp(const QColor &color)
{
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(8, 8), 12);
    glow.setColorAt(0, color.lighter(170));
    glow.setColorAt(1, color);
    p.setPen(QPen(color.darker(160), 1));
    p.setBrush(glow);
    p.drawEllipse(QRectF(2, 2, 18, 18));
    return pixmap;
}

} // namespace

QPixmap readerPresentPicture()
{
    return lamp(QColor(30, 160, 60));
}

QPixmap readerAbsentPicture()
{
    return lamp(QColor(200, 40, 40));
}

QPixmap logoPicture()
{
    QPixmap pixmap(200, 56);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 64, 128));
    p.drawRoundedRect(QRectF(0, 0, 200, 56), 8, 8);
    // A column of timing marks, as on the forms the station reads.
    p.setBrush(Qt::white);
    for (int i = 0; i < 6; ++i)
        p.drawRect(QRectF(10, 7 + i * 7.5, 9, 4));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(30, 4, 166, 30), Qt::AlignCenter, QStringLiteral("OMR"));
    font.setBold(false);
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRectF(30, 32, 166, 20), Qt::AlignCenter, QStringLiteral("Optik Okuyucu"));
    return pixmap;
}

QPixmap readButtonPicture()
{
    QPixmap pixmap(28, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(3, 1);
    sheet.lineTo(19, 1);
    sheet.lineTo(25, 7);
    sheet.lineTo(25, 31);
    sheet.lineTo(3, 31);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i < 5; ++i)
        p.drawRect(QRectF(5, 6 + i * 5, 3, 2));
    p.setBrush(QColor(24, 64, 128));
    for (int row = 0; row < 5; ++row)
        p.drawEllipse(QRectF(12 + (row * 3) % 10, 5.5 + row * 5, 3.5, 3.5));
    return pixmap;
}
