#pragma once

#include "messagerecorder.h"
#include "stationfixture.h"
#include "stationwindow.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <memory>

class QTableWidget;

// form1 started against the simulated reader, shown and active, with its message boxes
// answered; the operator's moves as methods, so tests read as what the operator does. Controls
// are reached by their object names, as the operator's documentation names them.
class StationRig
{
public:
    // Short waits for tests; a heartbeat that stays out of the way unless a test wants it.
    static ReaderTimings testTimings(int heartbeatMs = 60000);

    explicit StationRig(const ReaderTimings &timings = testTimings());
    ~StationRig();

    StationFixture fx;
    MessageRecorder boxes;
    std::unique_ptr<StationWindow> w;

    // Starts the reader (unless the test already did) and form1, shown and active.
    bool start();
    template <typename T = QWidget> T *control(const char *name) const
    {
        return w->findChild<T *>(QLatin1String(name));
    }
    QString status() const;
    QTableWidget *grid() const;

    void addForm(const QString &name, const QByteArray &bytes);
    // Sheets for the tray, drawn from a form in the FMT folder; status 0 reads, others fail.
    bool addSheet(const QString &fmtName, const QList<QByteArray> &values, int status = 0);
    // The operator picks an FMT file in the list and types a data name.
    void choose(const QString &fmtName);
    void typeDataName(const QString &name);
    void click(const char *buttonName);
    void clickRead() { click("Command1"); }   // "Form Oku"
    void clickSingle() { click("Command4"); } // "Tek tek okut"
    void clickExit() { click("Command3"); }   // "Çıkış"

    QString dataPath(const QString &name) const;
    QList<QByteArray> dataLines(const QString &name) const;
    QByteArray dataBytes(const QString &name) const;
    QString cellText(int row, int column) const;
    QColor cellColour(int row, int column) const;

private:
    ReaderTimings m_timings;
    int m_sheets = 0;
};
