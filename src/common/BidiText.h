#pragma once

#include <QString>

// A stored value shown inside right-to-left text is laid out as a unit, by its own first strong
// character: `Ali "the great"`, `+1`, `=1+1` or `../x` would otherwise be reordered by the Persian
// around it and read mirrored (`"Ali "the great`, `1+`). Only a value whose own first strong
// character is left to right, or that has none, reads otherwise than the Persian around it; such a
// value is wrapped in a left-to-right isolate (U+2066 … U+2069). A first-strong isolate would say
// the same, but Qt's item views lay one without any strong character out right to left. A value that
// reads the same either way (Persian, a plain number, Latin words and digits) is returned as it is,
// so that Persian text is laid out exactly as before.
namespace BidiText {

inline constexpr QChar kLeftToRightIsolate = QChar(0x2066);
inline constexpr QChar kPopDirectionalIsolate = QChar(0x2069);

// Whether the surrounding right-to-left text would lay the value out other than its own reading.
bool needsIsolation(const QString& value);
// The value as a unit of its own direction, ready to be shown in right-to-left text.
QString isolated(const QString& value);

} // namespace BidiText
