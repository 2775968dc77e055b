#pragma once

#include "ScoringKey.h"

#include <QSqlDatabase>
#include <QStringList>

class DataView;

// The scoring's dealings with the data views: reading a subject's answers and particulars by code
// and storing the five scores. The code is matched as a whole text, exactly as typed; it travels
// as a bound value, so quotes or any other characters in it are matched as themselves.
namespace ScoringStore {

// Reads the answers table again (answers stored since the view opened must be seen) and selects
// the subject's row. False, with the view on no row, when there is none.
bool selectAnswers(DataView& answers, const QString& code, ScoringKey::ItemTexts* items);

// The stored answer texts of the view's current row.
ScoringKey::ItemTexts itemTexts(const DataView& answers);

// Selects the subject's IDE row in the view. False, with the view on no row, when there is none.
bool selectSubject(DataView& subjects, const QString& code);

// The particulars of the view's current IDE row.
ScoringKey::SubjectRecord subjectRecord(const DataView& subjects);

// Writes the five score texts, trimmed, into S, L, F1, P, F2 of the view's current IDE row and
// commits the row once. False when there is no current row or the commit failed.
bool storeScores(DataView& subjects, const ScoringKey::ScoreTexts& scores);

// How saving the record view's edits ended.
enum class RecordSave
{
    Saved,
    CodeEmpty, // the code box holds nothing but blanks
    CodeTaken, // another subject has the new code
    Failed     // the file did not take the changes; they stay in the view
};

// Commits the edits of the subject on which the record view stands, stored under storedCode. The
// code is kept as every other window stores it (no blanks around it, Latin digits) and stays
// unique; a new code takes the subject's Answer row and earlier administrations along in the same
// transaction, so that the answers never lose their owner.
RecordSave saveRecord(DataView& record, const QString& storedCode);

// How the subject's latest administration was entered, how long its on-screen items took and the
// answer patterns it raises, one line each (AnswerChecks::summaryLines); empty when they cannot be
// read.
QStringList administrationChecks(const QSqlDatabase& db, const QString& code,
                                 const ScoringKey::ItemTexts& items);

} // namespace ScoringStore
