#pragma once

#include "readerwindow.h"

class QLabel;
class QPushButton;

// Form6: asks the reader to calibrate its eyes on a test sheet.
class CalibrationWindow : public ReaderWindow
{
    Q_OBJECT

public:
    explicit CalibrationWindow(ReaderSession &session, QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *Command1, *Command2, *Command3;

private:
    void calibrate();
};
