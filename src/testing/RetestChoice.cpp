#include "RetestChoice.h"

#include "TestingTexts.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "calendar/ShamsiDate.h"
#include "common/AppContext.h"
#include "common/Clock.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "datastore/Database.h"

#include <QDateTime>

namespace RetestChoice {

Outcome ask(const AppContext& context, QWidget* parent, const QString& code, AdministrationStore::Entry entry)
{
    const QSqlDatabase db = Database::connection(context.dataFolder, Database::File::Clinical);
    const std::optional<bool> scored = AdministrationStore::hasScoredAdministration(db, code);
    if (!scored) {
        // Without knowing, the answers of a scored administration could be overwritten unasked.
        context.prompts->message(parent, CommonTexts::warningTitle, TestingTexts::retestNotRead,
                                 Prompts::Icon::Exclamation, true);
        return Outcome::Cancelled;
    }
    const QDateTime now = context.clock ? context.clock->now() : QDateTime::currentDateTime();
    AdministrationStore::Start start;
    start.date = ShamsiDate(now.date(), 0);
    start.time = now.time().toString(QStringLiteral("hh:mm:ss"));
    start.entry = entry;
    start.user = context.session ? context.session->userName() : QString();
    const auto refused = [&](const QString& text) {
        context.prompts->message(parent, CommonTexts::warningTitle, text, Prompts::Icon::Exclamation, true);
        return Outcome::Cancelled;
    };
    if (!*scored)
        return AdministrationStore::recordStart(db, code, start) ? Outcome::Proceed
                                                                 : refused(TestingTexts::startNotStored);

    enum Choice
    {
        NewAdministration,
        Correction
    };
    const int choice =
        context.prompts->askChoice(parent, TestingTexts::retestTitle, TestingTexts::retestQuestion,
                                   {TestingTexts::retestNew, TestingTexts::retestCorrection});
    if (choice == Correction)
        return Outcome::Proceed;
    if (choice != NewAdministration)
        return Outcome::Cancelled;
    if (!AdministrationStore::startNew(db, code, start))
        return refused(TestingTexts::retestNotStored);
    AuditTrail::record(context, AuditTrail::Action::RecordChanged, code, AuditTexts::newAdministrationDetail,
                       parent);
    return Outcome::Proceed;
}

} // namespace RetestChoice
