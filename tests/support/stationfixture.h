#pragma once

#include "ptyreader.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A station home for one test: fmt/, data/ and tray/ folders, an optik.ini pointing at the
// simulated reader's link, and the reader itself running on a pseudo-terminal.
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

    bool startReader(QString *error);
    bool readerStarted() const { return m_reader != nullptr; }
    PtyReader &reader() { return *m_reader; }

    void writeIni(const QByteArray &portLine = QByteArray());

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PtyReader> m_reader;
};
