#pragma once

#include "readerwindow.h"

#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

// Form9: the reader's four paper sensors and its Clear button, queried once on opening and
// then, on "İzle", over and over with lamps that show paper (green) or none (red).
class SensorControlWindow : public ReaderWindow
{
    Q_OBJECT

public:
    SensorControlWindow(ReaderSession &session, QWidget *focusBack, QWidget *parent = nullptr);

    QList<QLabel *> labels;     // Label1 .. Label5
    QList<QLineEdit *> values;  // Text1 .. Text5
    QList<QPushButton *> lamps; // Command3 .. Command7
    QPushButton *Command1, *Command2;

protected:
    void opened() override;

private:
    void monitor();
};
