#pragma once

#include <QByteArray>
#include <QString>

// Runs any bytes through the FMT line functions as a file and as a single line, and checks
// what must hold for every input. Returns which rule broke, or an empty text. Shared by the
// libFuzzer target and the corpus replay test, so both exercise the same code.
QString fmtInvariantBroken(const QByteArray &data);
