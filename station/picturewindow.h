#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

// Form3: the chosen form's picture at the window's full size, captioned with its file name.
class PictureWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PictureWindow(const QString &pictureFile, QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;

signals:
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPixmap m_picture;
};
