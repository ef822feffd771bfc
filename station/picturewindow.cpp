#include "picturewindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QResizeEvent>

PictureWindow::PictureWindow(const QString &pictureFile, QWidget *parent)
    : QWidget(parent, Qt::Window), Image1(new QLabel(this))
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(pictureFile);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true); // the picture stretches to the image's size
    m_picture.load(pictureFile);
    Image1->setPixmap(m_picture);
    const QSize start =
        m_picture.isNull() ? QSize(400, 300) : m_picture.size().boundedTo(QSize(900, 700));
    resize(start);
}

void PictureWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() > 0)
        Image1->setGeometry(0, 0, event->size().width(), event->size().height());
}

void PictureWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    event->accept();
}
