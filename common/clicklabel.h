#pragma once

#include <QLabel>

// A label or picture that reacts to a click, as headings and pictures of the windows do.
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(QWidget *parent = nullptr) : QLabel(parent) {}
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr) : QLabel(text, parent) {}

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
