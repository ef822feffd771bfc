#pragma once

#include "messagerecorder.h"
#include "stationfixture.h"
#include "stationwindow.h"

#include <QColor>
#include <QLabel>
#include <QTableWidget>
#include <memory>

// form1 against the simulated reader (started unless the test did), shown and active, with its
// message boxes answered; the operator's moves as methods, controls reached by object name.
class StationRig
{
public:
    // Short waits for tests; a heartbeat that stays out of the way unless a test wants it.
    static ReaderTimings testTimings(int heartbeatMs = 60000) { return {500, 5000, heartbeatMs}; }
    explicit StationRig(const ReaderTimings &timings = testTimings()) : m_timings(timings) {}
    StationFixture fx;
    MessageRecorder boxes;
    std::unique_ptr<StationWindow> w;
    bool start();
    template <class T = QWidget> T *control(const char *n) const { return w->findChild<T *>(n); }
    QString status() const { return control<QLabel>("Optik_Durum")->text(); }
    QTableWidget *grid() const { return control<QTableWidget>("MSG"); }
    void addForm(const QString &name, const QByteArray &bytes);
    // Sheets for the tray, drawn from a form in the FMT folder; status 0 reads, others fail.
    bool addSheet(const QString &fmtName, const QList<QByteArray> &values, int status = 0);
    void choose(const QString &fmtName);
    void typeDataName(const QString &name);
    void click(const char *buttonName);
    void clickRead() { click("Command1"); }   // "Form Oku"
    void clickSingle() { click("Command4"); } // "Tek tek okut"
    void clickExit() { click("Command3"); }   // "Çıkış"
    QString dataPath(const QString &name) const { return fx.dataFolder() + name + ".DAT"; }
    QList<QByteArray> dataLines(const QString &name) const; // none when there is no file
    QString cellText(int row, int column) const;
    QColor cellColour(int row, int column) const;

private:
    ReaderTimings m_timings;
    int m_sheets = 0;
};
