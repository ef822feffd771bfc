#pragma once

#include "readerwindow.h"

#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

// Form12: the 48 eye values of one timing-mark line of the last sheet, stepped through line by
// line, with the values below a threshold picked out.
class EyeValuesWindow : public ReaderWindow
{
    Q_OBJECT

public:
    static constexpr int kEyes = 48;
    static constexpr int kLines = 64; // the lines the reader keeps of a sheet

    EyeValuesWindow(ReaderSession &session, QWidget *focusBack, QWidget *parent = nullptr);

    QList<QLabel *> Label1; // Label1_1 .. Label1_96: values 1 to 48, then the eye numbers
    QLineEdit *Text1, *Text2;
    QLabel *Label49, *Label2;
    QPushButton *Command3, *Command5, *Command1, *Command2;

protected:
    void opened() override;

private:
    void goToLine();
    void nextLine();
    void previousLine();
    // Reads lines from the reader's stream; the last one read is shown.
    bool readLines(int count);
    void colourEyes();
    void colourEye(QLabel *eye);
    // The line number in Text1, or nullopt after telling the operator it is not one.
    std::optional<int> lineNumber(int offset);

    bool m_streamKnown = false; // the reader's stream stands after the line in Text1
};
