#pragma once

#include "readerwindow.h"

#include <QByteArray>
#include <QList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Form5: all 64 lines of eye values of the last sheet (a test sheet) in one grid, coloured by
// two thresholds or checked line by line against the line's first eye. The heartbeat keeps
// running while it is open.
class TestFormWindow : public ReaderWindow
{
    Q_OBJECT

public:
    static constexpr int kEyes = 48;
    static constexpr int kLines = 64;
    // One line of eye values per timing-mark line, kEyes bytes each.
    using LineTable = QList<QByteArray>;

    TestFormWindow(ReaderSession &session, QWidget *focusBack, QWidget *parent = nullptr);

    QTableWidget *msg_goz;
    QGroupBox *Frame1, *Frame2;
    QPushButton *Command1, *Command2;
    QLineEdit *Text1, *Text2;
    QLabel *Label1, *Label2, *Label3, *Label4;

    // Puts a full table in the grid as three-digit cells; what "YENİLE" does once all lines
    // have come.
    void showLines(const LineTable &table);
    // Every cell by the thresholds in Text1 and Text2; run whenever either changes.
    void colourByThresholds();

protected:
    void opened() override;

private:
    void refresh();
    void checkTestForm();
    void paintCell(int line, int eye, const QColor &background, const QColor &text);

    LineTable m_table; // all zeros until the first "YENİLE"
};
