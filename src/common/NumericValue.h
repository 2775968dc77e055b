#pragma once

#include <QString>

// The number at the start of a text, the way the stored texts of this program are read as numbers
// (codes, item numbers, skin numbers, scores): blanks, tabs and line feeds are skipped wherever
// they occur, an optional sign and a decimal number with an optional "." fraction are read, and
// reading stops at the first character that cannot continue the number. No number gives 0.
double numericValue(const QString& text);

// The same value as a whole number, for texts that hold counters and codes.
long long wholeNumericValue(const QString& text);
