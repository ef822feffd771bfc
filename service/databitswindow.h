#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QRadioButton;

// Form7: the choice of data bits for the reader. Its controls have no action.
class DataBitsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DataBitsWindow(QWidget *parent = nullptr);

    QRadioButton *Option1, *Option2;
    QLabel *Label1;
    QPushButton *Command1, *Command2;
};
