#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Where the programs keep their settings, and what optik.ini holds.

// $OMR_HOME, or ~/omr (c:\omr on Windows).
QString omrHome();
QString optikIniPath();

// A port line as written in optik.ini or path.txt: a number N names COMN on Windows and
// /dev/ttyS<N-1> elsewhere; a line starting with "/" names a device itself. "" when the line
// names no port (0, negative, empty).
QString portNameFor(const QString &portLine);
// The other way: N for the device that the number N names, 0 for any other device.
int portNumberFor(const QString &portName);

// A folder line used as a plain prefix: backslashes become slashes off Windows, a relative
// folder is taken from the settings file's own folder, and the separator is added when missing
// (without it every listed file would be opened under a wrong name).
QString folderPrefix(const QString &line, const QString &settingsFolder);

// The path itself when that file exists; else a file of the same folder whose name differs only
// in case (a list made without regard to case shows such names); else the path unchanged.
QString fileIgnoringCase(const QString &path);

// Lines of a small text file read whole, as "line input" does: split at CR LF, LF or a bare
// CR, the line ends removed, nothing trimmed.
QList<QByteArray> readTextLines(const QByteArray &contents);

struct StationSettings
{
    QString portLine;      // line 1 as written
    int portNumber = 0;    // its numeric value
    QString portSettings;  // line 2, e.g. "38400,N,8,1"
    QString fmtFolder;     // line 3, as a prefix
    QString dataFolder;    // line 4, as a prefix
    QString dataExtension; // line 5, with the dot

    QString portName() const { return portNameFor(portLine); }
};

// Reads optik.ini; on failure returns false and a Turkish message naming the file.
bool readOptikIni(const QString &path, StationSettings *settings, QString *error);
