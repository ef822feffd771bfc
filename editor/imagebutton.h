#pragma once

#include <QLabel>
#include <QPixmap>

// A toolbar picture that behaves like a button: it shows its pressed picture while the left
// button is held over it and its raised one otherwise, and reports a click on release inside.
class ImageButton : public QLabel
{
    Q_OBJECT
public:
    // `up` and `dn` are the hidden companion images holding the two pictures.
    ImageButton(QLabel *up, QLabel *dn, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showPicture(const QLabel *companion);

    QLabel *m_up;
    QLabel *m_dn;
};

// The raised or pressed picture of one of the editor's toolbar buttons.
enum class ToolbarPicture { FileNew, FileOpen, Cut, Copy, Paste };
QPixmap toolbarPicture(ToolbarPicture which, bool pressed);
