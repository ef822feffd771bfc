#pragma once

#include <QString>

// The numeric value of a text: its leading number, blanks ignored, "&H"/"&O" prefixes for hex
// and octal; an empty or non-numeric text counts as 0. Settings windows and the designer
// compare and compute with it throughout.
double Val(const QString &text);

// A whole number as text with a blank reserved for the sign, as status messages show codes.
QString signedText(long long value);
