#pragma once

#include "cellwindow.h"

#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Form2: the times a sheet takes between the points of its path, twelve bytes in the reader's
// memory cells 6 to 11, read when the window opens and on request, written back on request.
class SensorTimesWindow : public CellWindow
{
    Q_OBJECT

public:
    SensorTimesWindow(ReaderSession &session, QWidget *focusBack, Look look = Look::Station,
                      QWidget *parent = nullptr);

    QGroupBox *Frame1;
    QList<QLineEdit *> boxes; // Text1 .. Text12: cells 6 to 11, two bytes a cell, row by row
    QLabel *Label1, *Label4, *Label6, *Label7;
    QPushButton *Command4, *Command1, *Command5;

protected:
    void opened() override;
    void showCells(const Cells &cells) override;

private:
    void reload();
    void write();
};
