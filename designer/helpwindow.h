#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

// helpf: what an FMT file is for and how the two designers are used; a fixed, read-only text.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // The text's lines, in order; the box shows each followed by a line end.
    static QStringList lines();

    QPlainTextEdit *Text1;
};
