#pragma once

#include "attention.h"
#include "datafile.h"
#include "readersession.h"
#include "serviceformat.h"
#include "serviceoptions.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// Form1 of markservice: the service menu, the console's own format download and reading loop
// into a DAT file, and the windows of the service commands. No heartbeat: the reader is woken
// by the attention loop before each service command.
class ServiceWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ServiceWindow(const ServiceOptions &options, QWidget *parent = nullptr);
    ~ServiceWindow() override;

    // Shows the window, reads path.txt, asks for the DAT name and opens the port. False when
    // no DAT name was given: the program ends.
    bool startUp();

    ReaderSession &session() { return *m_session; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *item(QMenu *menu, const char *name, const QString &caption, int key = 0,
                  bool shown = true);
    void buildMenus();
    void buildControls();
    void updateCommands();

    bool askDatName();
    void openDat(bool append);
    void openPort();

    // The routines, under their own names.
    Attention Command4(); // the attention loop, its failure shown in Label4
    void Oku();
    void readSheets();
    // Runs a reading command once the line is free: one at a time, with the commands that talk
    // to the reader resting meanwhile.
    void whileReading(const std::function<void()> &work);
    bool sendFmt();
    void Seviye();
    void ejectSheet();
    void exitProgram();
    // After the attention loop: runs open unless the reader did not answer.
    void withAttention(const std::function<void()> &open);
    // One instance of each window: brought forward when open, else made and shown.
    void openOnce(const QString &name, const std::function<QWidget *()> &make);

    // One sheet's data: shown, written to the DAT file, counted. False when it could not be
    // written (reading stops).
    bool takeSheet(const QByteArray &received);
    // False when the wait failed (the reason shown) or the window is closing.
    bool replied(const SerialLine::Reply &reply);
    QString portLineOf(const QString &portName) const;

    ServiceOptions m_options;
    ReaderSession *m_session;
    DataFile m_data;
    ServiceFormat m_format;
    QString m_datName;
    QString m_portLine = QStringLiteral("1");
    int m_sheetCount = 0;
    bool m_reading = false;
    bool m_closing = false;

    QLabel *Label1, *Label2, *Label3, *Label4;
    QLineEdit *Text1, *Text2;
    QPushButton *Command1, *Command2, *Command4Button, *Command5, *Command6;
    QAction *Machine_En, *Machine_Dis, *MHz_20, *MHz_4, *lcd_disp, *Sev_Seg;
    QList<QAction *> m_readerItems; // disabled while a reading runs
    QAction *m_oku = nullptr;

    QHash<QString, QPointer<QWidget>> m_windows;
};
