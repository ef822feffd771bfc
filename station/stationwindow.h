#pragma once

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

    bool readerPresent() const { return m_readerPresent; }
    const StationSettings &settings() const { return m_settings; }
    ReaderLink &link() { return m_link; }

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
    void resetCounter();
    void ShutDown();

    StationSettings m_settings;
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
    QPointer<PictureWindow> m_pictureWindow;
};
