#pragma once

#include "readerwindow.h"

#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

// Form9 of the service console: the paper sensors, the Clear button and a second button,
// queried once on opening and, after "Refresh", over and over until the window closes.
class ServiceSensorWindow : public ReaderWindow
{
    Q_OBJECT

public:
    explicit ServiceSensorWindow(ReaderSession &session, QWidget *parent = nullptr);

    QList<QLabel *> labels;    // Label1 .. Label6
    QList<QLineEdit *> values; // Text1 .. Text6
    QPushButton *Command1, *Command2;

protected:
    void opened() override;
};
