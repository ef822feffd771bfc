#pragma once

#include "ptyreader.h"

#include <QTemporaryDir>
#include <memory>

// A test's station home: fmt/, data/, tray/, an optik.ini naming the simulated reader's link,
// and that reader on a pseudo-terminal.
class StationFixture
{
public:
    StationFixture();
    QString home() const { return m_dir.path(); }
    QString fmtFolder() const { return home() + QStringLiteral("/fmt/"); }
    QString dataFolder() const { return home() + QStringLiteral("/data/"); }
    QString trayFolder() const { return home() + QStringLiteral("/tray/"); }
    QString iniPath() const { return home() + QStringLiteral("/optik.ini"); }
    QString linkPath() const { return home() + QStringLiteral("/reader"); }
    bool startReader(QString *error); // once: later calls keep the running reader
    PtyReader &reader() { return *m_reader; }
    void writeIni(const QByteArray &portLine = QByteArray()); // null: the reader's link

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PtyReader> m_reader;
};
