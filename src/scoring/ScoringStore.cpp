#include "ScoringStore.h"

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

} // namespace ScoringStore
