#pragma once

#include <QByteArray>
#include <QString>

// Files and the serial line carry single-byte code page 1254. Bytes are turned into text only
// to be shown; every byte 0..255 maps to a distinct character, so a round trip keeps them all
// (the five bytes 1254 leaves undefined become the C1 controls of the same value).
QString fromCp1254(const QByteArray &bytes);
QByteArray toCp1254(const QString &text);
QChar cp1254Char(unsigned char byte);
