#include "AuditCsv.h"

#include "AuditTexts.h"
#include "calendar/ShamsiDate.h"
#include "export/CsvFileWriter.h"

namespace AuditCsv {

QString actionName(const QString& key)
{
    using A = AuditTrail::Action;
    namespace T = AuditTexts;
    const std::optional<A> action = AuditTrail::actionOfKey(key);
    if (!action)
        return key;
    switch (*action) {
    case A::SignIn:
        return T::signIn;
    case A::SignInFailed:
        return T::signInFailed;
    case A::SignOut:
        return T::signOut;
    case A::AccountChanged:
        return T::accountChanged;
    case A::SettingsChanged:
        return T::settingsChanged;
    case A::ScoresOpened:
        return T::scoresOpened;
    case A::ChartOpened:
        return T::chartOpened;
    case A::Printed:
        return T::printed;
    case A::Exported:
        return T::exported;
    case A::Registered:
        return T::registered;
    case A::RecordChanged:
        return T::recordChanged;
    case A::Deleted:
        return T::deleted;
    case A::BackedUp:
        return T::backedUp;
    case A::Restored:
        return T::restored;
    }
    return key;
}

QStringList headings()
{
    namespace T = AuditTexts;
    return {T::seqHeading,  T::dateHeading,        T::timeHeading,
            T::userHeading, T::workstationHeading, T::actionHeading,
            T::codeHeading, T::detailHeading,      QStringLiteral("SHA-256")};
}

QStringList cells(const AuditTrail::Entry& entry)
{
    const QDateTime local = entry.time.toLocalTime();
    return {QString::number(entry.seq),
            ShamsiDate(local.date(), 0),
            local.time().toString(QStringLiteral("HH:mm:ss")),
            entry.user,
            entry.workstation,
            actionName(entry.action),
            entry.code,
            entry.detail,
            entry.hash};
}

bool write(const QString& path, const QList<AuditTrail::Entry>& entries, QString* error)
{
    CsvFileWriter writer;
    QVector<ExportVariable> variables;
    for (const QString& heading : headings()) {
        ExportVariable variable;
        variable.name = heading;
        variables << variable;
    }
    bool ok = writer.open(path, variables);
    for (qsizetype i = 0; ok && i < entries.size(); ++i) {
        ExportRow row;
        const QStringList texts = cells(entries.at(i));
        for (int column = 0; column < texts.size(); ++column)
            row << (column == 0 ? ExportCell::fromNumber(double(entries.at(i).seq))
                                : ExportCell::fromText(texts.at(column)));
        ok = writer.writeRow(row);
    }
    ok = ok && writer.commit();
    if (!ok) {
        if (error)
            *error = writer.errorString();
        writer.discard();
    }
    return ok;
}

} // namespace AuditCsv
