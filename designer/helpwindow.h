#pragma once

#include <QWidget>

class QPlainTextEdit;

// helpf: what an FMT file is for and how the two designers are used; a fixed, read-only text.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    QPlainTextEdit *Text1;
};
