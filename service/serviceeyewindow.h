#pragma once

#include "readerwindow.h"

#include <QList>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// Form12 of the service console: the 48 eye values of one timing-mark line of the last sheet,
// plain, without colours or threshold.
class ServiceEyeWindow : public ReaderWindow
{
    Q_OBJECT

public:
    static constexpr int kEyes = 48;
    static constexpr int kLines = 64; // the lines the reader keeps of a sheet

    explicit ServiceEyeWindow(ReaderSession &session, QWidget *parent = nullptr);

    QList<QLabel *> values; // Label1 .. Label48
    QLineEdit *Text1;
    QLabel *Label49;
    QPushButton *Command3, *Command1, *Command2, *Command4;

protected:
    void opened() override;

private:
    void goToLine();
    void nextLine();
    bool readLine();
    // The line number in Text1 plus offset, or nullopt after telling the operator it is none.
    std::optional<int> lineNumber(int offset);

    int m_streamLine = -1; // lines read since the last rewind; -1 when not known
};
