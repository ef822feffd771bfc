#pragma once

#include <QByteArray>
#include <QString>

// path.txt, the console's only settings file, in its program folder: the FMT name and the
// port, written one per line and read back as free-format fields (the last pair counts). The
// port is a number N (COMN, /dev/ttyS<N-1>) or a device path that starts with "/".
struct PathSettings
{
    QString fmtName;
    QString portLine = QStringLiteral("1");

    // Reads path.txt text. A name without a port after it still counts; the port then stays
    // that of the pair before it.
    static PathSettings parse(const QByteArray &contents);
    // The file's text: the name as it stands (quoted only where it would not read back the same:
    // empty, a comma, a blank at an end) and a number with a blank on each side, CR LF after each.
    QByteArray text() const;
};

// The console's program folder: $OMR_HOME off Windows (~/omr by default).
QString programFolder();
QString pathFilePath();

enum class PathFileRead { Read, Missing, Unreadable };
PathFileRead readPathFile(const QString &path, PathSettings *settings, QString *error);

// Replaces the file whole (a temporary file, then a rename), so a crash never leaves it empty.
bool writePathFile(const QString &path, const PathSettings &settings, QString *error);
