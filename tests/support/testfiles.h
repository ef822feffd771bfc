#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Files as tests write and check them.
namespace TestFiles {

// Writes the bytes; a test that cannot write its own files cannot go on.
QString write(const QString &path, const QByteArray &bytes);
// The whole file, or "<missing>" when it cannot be read.
QByteArray read(const QString &path);
// CR LF lines, each without its line end; a last line without one ends in "\\".
QList<QByteArray> lines(const QByteArray &bytes);

} // namespace TestFiles
