#pragma once

#include "datafile.h"
#include "fieldtable.h"
#include "readerlink.h"
#include "settingsfile.h"

#include <QPointer>
#include <QWidget>

class ClickLabel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class GridEditor;
class PictureWindow;

// The operator's main window, form1: settings, the reader link, the choice of form and data
// file, the read buttons, the results grid and the status line. Closing it ends the program.
class StationWindow : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString pictureFile READ pictureFile WRITE setPictureFile)

public:
    explicit StationWindow(QWidget *parent = nullptr);
    ~StationWindow() override;

    // The load handler: settings, file lists, port, wake-up, heartbeat. False when start-up
    // cannot go on (the operator has been told why); the program then ends.
    bool startUp(const QString &settingsPath = optikIniPath());

    QString pictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path) { m_pictureFile = path; }

    // The station's check of one field line without title and check text: its field length,
    // or 0 when it is invalid ("son" is shown first when its end marker is missing).
    int fmt_kontrol(QString &line);

    // Loads and checks an FMT file into the field table, the grid and the picture.
    void LoadFormat(const QString &path);
    // Downloads the loaded format to the reader; sets expectedLength.
    bool SendFormat();
    // Loads the chosen file again, downloads it and readies the reader.
    void PrepareReading();

    // Opens the edit box on the grid's current cell (key: the typed character's code).
    void GridEdit(int key);

    const FieldTable &fieldTable() const { return m_table; }
    bool recordPending() const { return m_recordPending; }
    bool dataFileOpen() const { return m_dataFileOpen; }
    bool readCommandRunning() const { return m_readCommandRunning; }
    QString dataFilePath() const { return m_dataFile.path(); }
    int expectedLength() const { return m_expectedLength; }
    bool readFailed() const { return m_readFailed; }
    QString fmtFileName() const { return m_fmtFileName; }

    bool readerPresent() const { return m_readerPresent; }
    ReaderLink &link() { return m_link; }

    // Chooses a form and a data name and reads automatically, as an operator would: for the
    // demo and for tests that run the program from outside.
    void autoRead(const QString &fmtFileName, const QString &dataName);

    // Heartbeat on or off; every window that talks to the reader switches it off first.
    void ArmHeartbeat();
    void stopHeartbeat();

    // Controls, named as the operator's documentation names them.
    QLabel *Label1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *dosyaadi = nullptr;
    QGroupBox *Frame2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command4 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *Command10 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command3 = nullptr;
    QLabel *ssay = nullptr;
    QLabel *Optik_Durum = nullptr;
    ClickLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QTableWidget *MSG = nullptr;
    QLineEdit *Text1 = nullptr;
    ClickLabel *Picture1 = nullptr;
    ClickLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    SerialLine *MSComm1 = nullptr;
    QTimer *Timer2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void listDataFiles();
    void listFmtFiles();
    void ShowReaderState();
    void heartbeatTick();
    void showStatus(const QString &text);
    void onPortLost(const QString &message);
    void chooseFormat(int index);
    void showPicture();
    void openPictureWindow();
    void openEditor();
    void resetCounter();
    void ShutDown();

    // Reading.
    void ValidateSelection();
    bool leaveDataFile(const QString &warning);
    bool startReading();
    void endReading();
    void readAutomatically();
    void readOneSheet();
    void stopReading();
    QByteArray ReadSheet();
    bool waitFailed(const QByteArray &reply, int expected);
    void showSheet(const QByteArray &sheet, bool automatic);
    bool OpenDataFile();
    bool WriteRecord();
    bool writePendingRecord();
    void closeDataFile();
    void setReadControlsEnabled(bool enabled);

    void showMessage(const QString &text);

    StationSettings m_settings;
    FieldTable m_table;
    int m_expectedLength = 0;
    bool m_readFailed = false;
    ReaderLink m_link;
    QString m_pictureFile;
    QString m_fmtFileName;
    bool m_readerPresent = false;
    int m_heartbeatInterval = 3000;
    bool m_readCommandRunning = false;
    bool m_recordPending = false;
    bool m_gridEdited = false;
    bool m_dataFileOpen = false;
    bool m_shutDown = false;
    bool m_readyToRead = false;
    bool m_stopRequested = false;
    QString m_lastDataName;
    QString m_lastFmtName;
    DataFile m_dataFile;
    GridEditor *m_gridEditor = nullptr;
    QPointer<PictureWindow> m_pictureWindow;
};
