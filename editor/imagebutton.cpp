#include "imagebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

ImageButton::ImageButton(QLabel *up, QLabel *dn, QWidget *parent)
    : QLabel(parent), m_up(up), m_dn(dn)
{
    showPicture(m_up);
    setFixedSize(m_up->pixmap().size());
}

void ImageButton::showPicture(const QLabel *companion)
{
    setPixmap(companion->pixmap());
}

void ImageButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        showPicture(m_dn);
}

void ImageButton::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        showPicture(rect().contains(event->position().toPoint()) ? m_dn : m_up);
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    showPicture(m_up);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

namespace {

constexpr int kSize = 24;

void drawPage(QPainter &p, const QRectF &r)
{
    const qreal fold = 4;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void drawLines(QPainter &p, const QRectF &r)
{
    p.save();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (qreal y = r.top() + 5; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    p.restore();
}

void drawGlyph(QPainter &p, ToolbarPicture which)
{
    p.setPen(QPen(Qt::black, 1));
    switch (which) {
    case ToolbarPicture::FileNew:
        drawPage(p, QRectF(6.5, 3.5, 11, 16));
        break;
    case ToolbarPicture::FileOpen: {
        p.setBrush(QColor(230, 190, 60));
        p.drawRect(QRectF(3.5, 7.5, 16, 11));
        p.drawRect(QRectF(3.5, 5.5, 7, 2));
        QPolygonF lid;
        lid << QPointF(6.5, 10.5) << QPointF(21.5, 10.5) << QPointF(18.5, 18.5)
            << QPointF(3.5, 18.5);
        p.setBrush(QColor(250, 220, 110));
        p.drawPolygon(lid);
        break;
    }
    case ToolbarPicture::Cut:
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(QPointF(8, 3), QPointF(14.5, 14));
        p.drawLine(QPointF(16, 3), QPointF(9.5, 14));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 160), 1.5));
        p.drawEllipse(QPointF(8, 17.5), 3, 3);
        p.drawEllipse(QPointF(16, 17.5), 3, 3);
        break;
    case ToolbarPicture::Copy:
        drawPage(p, QRectF(3.5, 3.5, 10, 12));
        drawLines(p, QRectF(3.5, 3.5, 10, 12));
        drawPage(p, QRectF(9.5, 8.5, 10, 12));
        drawLines(p, QRectF(9.5, 8.5, 10, 12));
        break;
    case ToolbarPicture::Paste:
        p.setBrush(QColor(160, 110, 50));
        p.drawRect(QRectF(4.5, 4.5, 13, 16));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8.5, 2.5, 5, 3));
        drawPage(p, QRectF(10.5, 9.5, 9, 11));
        drawLines(p, QRectF(10.5, 9.5, 9, 11));
        break;
    }
}

} // namespace

QPixmap toolbarPicture(ToolbarPicture which, bool pressed)
{
    QPixmap picture(kSize, kSize);
    picture.fill(QColor(192, 192, 192));
    QPainter p(&picture);
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    // A bevelled face: lit from the top left when raised, sunken and shifted when pressed.
    p.setPen(pressed ? dark : light);
    p.drawLine(0, 0, kSize - 1, 0);
    p.drawLine(0, 0, 0, kSize - 1);
    p.setPen(pressed ? light : dark);
    p.drawLine(kSize - 1, 0, kSize - 1, kSize - 1);
    p.drawLine(0, kSize - 1, kSize - 1, kSize - 1);
    p.setRenderHint(QPainter::Antialiasing);
    if (pressed)
        p.translate(1, 1);
    drawGlyph(p, which);
    return picture;
}
