#pragma once

#include <QString>

// Clinicians type on a Persian keyboard layout as often as on a Latin one: its digit keys give the
// Extended Arabic-Indic digits ۰ … ۹, and pasted text may carry the Arabic-Indic ٠ … ٩. The stored
// data keeps the Latin digits 0 … 9 that the scoring and every other window read.

// The Latin digit for any of the three digit sets; a null character for anything else.
QChar latinDigit(QChar c);

// The text with every Persian or Arabic-Indic digit replaced by its Latin digit; every other
// character stays where it is, so a box that converts as it is typed keeps its cursor.
QString withLatinDigits(const QString& text);

// A subject code as it is stored and looked up: Latin digits and no blanks around it, so that two
// subjects never differ by blanks or by the keyboard layout they were typed on.
QString subjectCodeAsStored(const QString& typed);
