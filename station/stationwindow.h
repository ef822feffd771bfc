#pragma once

#include "fieldtable.h"
#include "readersession.h"
#include "settingsfile.h"
#include "sheetreader.h"
#include "stationoptions.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class ClickLabel;
class DesignerWindow;
class ReaderWindow;
class GridEditor;
class PictureWindow;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class SdiWindow;

// The operator's main window, form1: settings, the reader session, the choice of form and data
// file, the read buttons, the results grid and the status line. Closing it ends the program
// with every window it opened.
class StationWindow : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString pictureFile READ pictureFile WRITE setPictureFile)

public:
    explicit StationWindow(const StationOptions &options, QWidget *parent = nullptr);
    ~StationWindow() override;

    // The load handler: settings, file lists, port, wake-up, heartbeat. False when start-up
    // cannot go on (the operator has been told why); the program then ends.
    bool startUp();

    QString pictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString &path) { m_pictureFile = path; }

    // The station's check of one field line without title and check text: its field length,
    // or 0 when it is invalid ("son" is shown first when its end marker is missing).
    int fmt_kontrol(QString &line);

    // Opens the edit box on the grid's current cell (key: the typed character's code).
    void GridEdit(int key);

    // Chooses a form and a data name and reads automatically, as an operator would.
    void autoRead(const QString &fmtFileName, const QString &dataName);

    ReaderSession &session() { return *m_session; }
    bool recordPending() const { return m_reader->recordPending(); }
    QString dataFilePath() const { return m_reader->dataFile().path(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // Each new text of the status line, so that a script can follow the station from outside.
    void statusShown(const QString &text);

private:
    void buildControls();
    void listDataFiles();
    void listFmtFiles();
    void ShowReaderState();
    void showStatus(const QString &text);
    void showMessage(const QString &text);
    void chooseFormat(int index);
    bool LoadFormat(const QString &path);
    bool SendFormat();
    bool PrepareReading();
    void showPicture();
    void openPictureWindow();
    void openEditor();
    void openDesigner();
    // The reader settings windows: one of each kind, made by make when none is open.
    void openReaderWindow(QPointer<ReaderWindow> &window,
                          const std::function<ReaderWindow *()> &make);
    QList<QWidget *> openedWindows() const;
    void ShutDown();

    // Reading.
    void ValidateSelection();
    bool leaveDataFile(const QString &warning);
    void readAutomatically();
    void readOneSheet();
    void stopReading();
    bool startReading(QPushButton *button);
    void endReading();
    bool OpenDataFile();
    void closeDataFile();
    bool writePendingRecord();
    void reportWriteFailure();
    void showSheet(const SheetReader::Result &result, bool automatic);
    void showFailure(const SheetReader::Result &result);
    QStringList checkTexts() const;
    QByteArray gridRecord() const;
    void setReadControlsEnabled(bool enabled);

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

    StationOptions m_options;
    StationSettings m_settings;
    ReaderSession *m_session;
    SheetReader *m_reader;
    FieldTable m_table;
    GridEditor *m_gridEditor = nullptr;

    QString m_pictureFile;
    QString m_fmtFileName;
    QString m_lastDataName;
    QString m_lastFmtName;
    // The last file refused as faulty, as it was then: a read command does not load it again
    // (and bring all its boxes again) unless it changed.
    QString m_refusedPath;
    QDateTime m_refusedStamp;
    qint64 m_refusedSize = -1;

    std::unique_ptr<ReaderSession::Pause> m_readPause;
    QPointer<QPushButton> m_readButton;
    QPointer<QWidget> m_focusAfterStart;
    bool m_readCommandRunning = false;
    bool m_commandQueued = false;
    bool m_gridEdited = false;
    bool m_dataFileOpen = false;
    bool m_shutDown = false;
    bool m_readyToRead = false;
    bool m_stopRequested = false;

    QPointer<PictureWindow> m_pictureWindow;
    QPointer<SdiWindow> m_editor;
    QPointer<DesignerWindow> m_designer;
    QPointer<ReaderWindow> m_readerValues; // Form4
    QPointer<ReaderWindow> m_sensorTimes;  // Form2
    QPointer<ReaderWindow> m_eyeValues;    // Form12
    QPointer<ReaderWindow> m_sensors;      // Form9
    QPointer<ReaderWindow> m_testForm;     // Form5
};
