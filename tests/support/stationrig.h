#pragma once

#include "messagerecorder.h"
#include "stationfixture.h"
#include "stationwindow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// form1 started against the simulated reader, shown and active, with its message boxes
// answered; the operator's moves as methods, so tests read as what the operator does.
class StationRig
{
public:
    StationRig();
    ~StationRig();

    StationFixture fx;
    MessageRecorder boxes;
    std::unique_ptr<StationWindow> w;

    // Starts the reader (unless the test already did) and form1, shown and active.
    bool start();
    void addForm(const QString &name, const QByteArray &bytes);
    // Sheets for the tray, drawn from a form in the FMT folder; status 0 reads, others fail.
    bool addSheet(const QString &fmtName, const QList<QByteArray> &values, int status = 0);
    // The operator picks an FMT file in the list and types a data name.
    void choose(const QString &fmtName);
    void typeDataName(const QString &name);
    void clickRead();   // "Form Oku"
    void clickSingle(); // "Tek tek okut"
    QString dataPath(const QString &name) const;
    // The data file's lines, each with its CR LF removed; a last line without one ends in "\\".
    QList<QByteArray> dataLines(const QString &name) const;
    QByteArray dataBytes(const QString &name) const;
    QString cellText(int row, int column) const;

private:
    int m_sheets = 0;
};
