// Small settings files are read field by field: a field ends at a comma or at the line end,
// blanks around it are dropped, and a field in double quotes may hold commas.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace switchboard {

// The first `count` fields of the text (fewer when the text ends first). Every line, blank ones
// too, holds at least one field. Lines end in CR LF, LF or CR.
QStringList readFields(const QByteArray& text, int count);

// A field as a 16-bit whole number: decimals round to the even neighbour on halves; nothing when
// the field is not a number or lies outside -32768 to 32767.
std::optional<int> toInt16(const QString& field);

}  // namespace switchboard
