#pragma once

#include <QString>

// The number at the start of a text, the way the stored texts of this program are read as numbers
// (codes, item numbers, skin numbers, scores): blanks, tabs and line feeds are skipped wherever
// they occur, an optional sign and a decimal number with an optional "." fraction are read, and
// reading stops at the first character that cannot continue the number. No number gives 0; the
// value is always finite (digits beyond the range of a double give the largest double).
double numericValue(const QString& text);

// The same value as a whole number, for texts that hold counters and codes, kept within ±2^53.
long long wholeNumericValue(const QString& text);
