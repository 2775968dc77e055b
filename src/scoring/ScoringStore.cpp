#include "ScoringStore.h"

#include "datastore/AdministrationStore.h"
#include "datastore/AnswerChecks.h"

#include "common/DigitText.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

namespace ScoringStore {

namespace {
const QString kCode = QStringLiteral("Code");
} // namespace

ScoringKey::ItemTexts itemTexts(const DataView& answers)
{
    ScoringKey::ItemTexts items;
    for (int item = 1; item <= ScoringKey::kItemCount; ++item)
        items[static_cast<std::size_t>(item - 1)] = answers.field(Database::itemColumn(item));
    return items;
}

bool selectAnswers(DataView& answers, const QString& code, ScoringKey::ItemTexts* items)
{
    answers.requery();
    answers.filterBy(kCode, code);
    if (!answers.hasCurrentRow())
        return false;
    if (items)
        *items = itemTexts(answers);
    return true;
}

bool selectSubject(DataView& subjects, const QString& code)
{
    subjects.filterBy(kCode, code);
    return subjects.hasCurrentRow();
}

ScoringKey::SubjectRecord subjectRecord(const DataView& subjects)
{
    ScoringKey::SubjectRecord record;
    record.code = subjects.field(kCode);
    record.firstName = subjects.field(QStringLiteral("FName"));
    record.lastName = subjects.field(QStringLiteral("LName"));
    record.age = subjects.field(QStringLiteral("Sen"));
    record.gender = subjects.field(QStringLiteral("Jens"));
    record.maritalStatus = subjects.field(QStringLiteral("Taahol"));
    record.education = subjects.field(QStringLiteral("Tahsil"));
    return record;
}

bool storeScores(DataView& subjects, const ScoringKey::ScoreTexts& scores)
{
    if (!subjects.hasCurrentRow() || subjects.isNewRow())
        return false;
    for (std::size_t i = 0; i < ScoringKey::kScales.size(); ++i)
        subjects.setField(QLatin1String(ScoringKey::kScales[i].field), scores[i].trimmed());
    return subjects.commit();
}

RecordSave saveRecord(DataView& record, const QString& storedCode)
{
    if (!record.hasCurrentRow() || record.isNewRow())
        return RecordSave::Failed;
    const QString code = subjectCodeAsStored(record.field(kCode));
    if (code.isEmpty())
        return RecordSave::CodeEmpty;
    if (code != record.field(kCode))
        record.setField(kCode, code);
    if (code == storedCode)
        return record.commit() ? RecordSave::Saved : RecordSave::Failed;

    DataView others(record.database(), record.table());
    others.filterBy(kCode, code);
    if (others.count() > 0)
        return RecordSave::CodeTaken;

    Transaction transaction(record.database());
    DataView answers(record.database(), QStringLiteral("Answer"));
    bool moved = answers.filterBy(kCode, storedCode);
    // Normally one row; each one moved leaves the filter, so the loop ends with the last.
    for (int guard = answers.count(); moved && guard > 0 && answers.hasCurrentRow(); --guard) {
        moved = answers.setField(kCode, code) && answers.commit();
        answers.filterBy(kCode, storedCode);
    }
    moved = moved && answers.count() == 0 &&
            AdministrationStore::renameSubject(record.database(), storedCode, code);
    if (moved && record.commit() && transaction.commit())
        return RecordSave::Saved;
    return RecordSave::Failed;
}

QStringList administrationChecks(const QSqlDatabase& db, const QString& code,
                                 const ScoringKey::ItemTexts& items)
{
    const std::optional<int> sequence = AdministrationStore::latestSequence(db, code);
    const std::optional<AdministrationDetails::Details> details =
        sequence ? AdministrationDetails::read(db, code, *sequence) : std::nullopt;
    if (!details)
        return {};
    const std::optional<AdministrationStore::Administration> administration =
        AdministrationStore::read(db, code, *sequence);
    const bool onScreen =
        administration && administration->start.entry == AdministrationStore::Entry::OnScreen;
    return AnswerChecks::summaryLines(items, *details, AdministrationDetails::readSettings(db), onScreen);
}

} // namespace ScoringStore
