#pragma once

#include "ExportTable.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The anonymised research export: what leaves the clinic carries neither names nor codes, and its
// dates say nothing about the day a person came. Every step is keyed by the clinic's secret key,
// so exports made with the same key join (the same subject has the same pseudonym and the same
// date shift in both) and nobody without the key can turn a pseudonym back into a code or undo a
// shift. The keyed hash is libsodium's HMAC-SHA-256; the key is made by its random generator.
namespace Anonymising {

constexpr int kKeyBytes = 32;

// A new random key.
QByteArray newKey();

// The key as the user writes it down: 64 lower-case hexadecimal digits in eight groups of eight.
QString keyText(const QByteArray& key);
// The key a user typed or pasted: hexadecimal digits in any case, Persian or Arabic-Indic digits,
// blanks and dashes anywhere; nullopt unless that leaves exactly 64 digits.
std::optional<QByteArray> keyOfText(const QString& text);

// The subject's pseudonym: "P" and 16 hexadecimal digits of the keyed hash of the code (the letter
// keeps a spreadsheet from reading digits and an "e" as a number).
QString pseudonym(const QByteArray& key, const QString& code);
// The days all of the subject's dates move: 1 to 365, forwards or backwards, never 0.
int dateShift(const QByteArray& key, const QString& code);
// A Jalali date text ("1402/02/13", blanks around and Persian digits allowed) moved by some days,
// in the same form; empty when the text is not a date the calendar knows.
QString shiftedDate(const QString& jalali, int days);

// The stored subject as an anonymised export shows it: pseudonym for the code, the names and the
// education emptied, the registration and administration dates shifted.
void apply(const QByteArray& key, StoredSubject* subject);

// The clinic's key, kept in the data folder readable by its user only. load gives an empty key
// when none was kept yet, nullopt (and the reason) when the file cannot be read or holds no key.
std::optional<QByteArray> loadKey(const QString& dataFolder, QString* error);
// Writes the key in place of any earlier one: the new file is complete or not there at all.
bool storeKey(const QString& dataFolder, const QByteArray& key, QString* error);
// The file's name in the data folder.
inline const QString keyFileName = QStringLiteral("Pseudonym.key");

} // namespace Anonymising
