#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// Form11: the DAT file named at start-up exists; append to it or empty it. Closed without an
// answer it appends, so nothing already read is lost.
class DatQuestionWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DatQuestionWindow(QWidget *parent = nullptr);

signals:
    // Once, whichever way the window closes.
    void answered(bool append);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void answer(bool append);

    QLabel *Label1;
    QPushButton *Command1, *Command2;
    bool m_answered = false;
};
