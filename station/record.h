#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the station does with a sheet's characters: cut them into field values, turn them round,
// replace constants, test check texts and join the record. Bytes throughout, code page 1254.
namespace record {

// A sheet's bytes cut into field values by the field lengths, in order. Bytes beyond the sum of
// the lengths are ignored; a reply shorter than the sum gives shorter (possibly empty) values,
// never a read past its end. Lengths <= 0 give empty values.
QList<QByteArray> splitFields(const QByteArray &sheet, const QList<int> &lengths);

// Forms whose timing marks are on the right: each value reversed.
void ReverseFields(QList<QByteArray> &values);

// The constant of a grid check cell: the text after a leading "=" as code page 1254 bytes ("="
// alone gives an empty constant); nothing when the cell does not begin with "=".
std::optional<QByteArray> constantOf(const QString &checkCell);

// Check text rule: "-" + text: hit when the text occurs in the value; otherwise hit when any
// single character of the check text occurs in the value. Empty check text, and "-" alone: no
// hit. A character that code page 1254 cannot hold never hits.
bool CheckValue(const QByteArray &value, const QString &checkText);

// The record of a sheet: the values concatenated, nothing between them (no line end).
QByteArray joinRecord(const QList<QByteArray> &values);

} // namespace record
