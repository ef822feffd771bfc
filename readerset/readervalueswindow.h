#pragma once

#include "cellwindow.h"

#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// Form4: motor speeds, times, grey limits and timing-mark settings held in the reader's memory
// cells, read when the window opens and on request, written back on request.
class ReaderValuesWindow : public CellWindow
{
    Q_OBJECT

public:
    ReaderValuesWindow(ReaderSession &session, QWidget *focusBack, Look look = Look::Station,
                       QWidget *parent = nullptr);

    QLineEdit *Text3, *Text4, *Text5, *Text6, *Text7, *Text8, *Text9, *Text26, *Text28;
    QLineEdit *Text1, *Text2; // "Tm Zamanı", left and right
    QLabel *Label2;
    QPushButton *Command3, *Command4, *Command2;

protected:
    void opened() override;
    void showCells(const Cells &cells) override;

private:
    void reload();
    void write();

    QStringList m_boxLabels; // the label of each box, in the order of the byte boxes
};
