#pragma once

#include "readerwindow.h"

class QLabel;
class QLineEdit;

// Form8: the reader measures the timing marks and keeps their value in its memory, which the
// window then shows. It has no buttons.
class TimingMarkWindow : public ReaderWindow
{
    Q_OBJECT

public:
    explicit TimingMarkWindow(ReaderSession &session, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Text1;

protected:
    void opened() override;
};
