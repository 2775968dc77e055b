#include "EntryChecksDialog.h"

#include "SettingsTexts.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/Prompts.h"
#include "datastore/Database.h"
#include "widgets/WindowSkin.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<int> wholeIn(const QLineEdit* box, int lowest, int highest)
{
    bool ok = false;
    const int value = withLatinDigits(box->text()).trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

EntryChecksDialog::EntryChecksDialog(const AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    namespace T = SettingsTexts;
    setObjectName(QStringLiteral("EntryChecksDialog"));
    setWindowTitle(T::entryChecks);
    setLayoutDirection(Qt::RightToLeft);
    const AdministrationDetails::Settings stored = AdministrationDetails::readSettings(
        Database::connection(m_context.dataFolder, Database::File::Clinical));

    auto* layout = new QVBoxLayout(this);
    m_doubleEntry = new QCheckBox(T::doubleEntryCaption, this);
    m_doubleEntry->setObjectName(QStringLiteral("doubleEntry"));
    m_doubleEntry->setAccessibleName(T::doubleEntryCaption);
    m_doubleEntry->setChecked(stored.doubleEntry);
    layout->addWidget(m_doubleEntry);

    auto* form = new QFormLayout;
    const auto addBox = [&](const QString& name, const QString& caption, int value) {
        auto* box = new QLineEdit(QString::number(value), this);
        box->setObjectName(name);
        box->setAccessibleName(caption);
        box->setMaximumWidth(80);
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label_") + name);
        label->setBuddy(box);
        form->addRow(label, box);
        return box;
    };
    m_fastItem = addBox(QStringLiteral("fastItemSeconds"), T::fastItemCaption, stored.fastItemSeconds);
    m_fastTest = addBox(QStringLiteral("fastTestSeconds"), T::fastTestCaption, stored.fastTestSecondsPerItem);
    m_longRun = addBox(QStringLiteral("longRunItems"), T::longRunCaption, stored.longRun);
    m_unanswered = addBox(QStringLiteral("unansweredItems"), T::unansweredCaption, stored.unanswered);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(T::save, this);
    save->setObjectName(QStringLiteral("saveEntryChecks"));
    auto* cancel = new QPushButton(T::cancel, this);
    cancel->setObjectName(QStringLiteral("cancelEntryChecks"));
    save->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &EntryChecksDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Skins::applyCurrent(this, m_context);
}

std::optional<AdministrationDetails::Settings> EntryChecksDialog::typedSettings() const
{
    using AdministrationDetails::kItemCount;
    using AdministrationDetails::kLongestThresholdSeconds;
    const std::optional<int> fastItem = wholeIn(m_fastItem, 0, kLongestThresholdSeconds);
    const std::optional<int> fastTest = wholeIn(m_fastTest, 0, kLongestThresholdSeconds);
    const std::optional<int> longRun = wholeIn(m_longRun, 2, kItemCount);
    const std::optional<int> unanswered = wholeIn(m_unanswered, 1, kItemCount);
    if (!fastItem || !fastTest || !longRun || !unanswered)
        return std::nullopt;
    AdministrationDetails::Settings settings;
    settings.doubleEntry = m_doubleEntry->isChecked();
    settings.fastItemSeconds = *fastItem;
    settings.fastTestSecondsPerItem = *fastTest;
    settings.longRun = *longRun;
    settings.unanswered = *unanswered;
    return settings;
}

void EntryChecksDialog::save()
{
    const std::optional<AdministrationDetails::Settings> settings = typedSettings();
    if (!settings) {
        m_context.prompts->message(this, CommonTexts::warningTitle, SettingsTexts::entryChecksInvalid,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    const QSqlDatabase db = Database::connection(m_context.dataFolder, Database::File::Clinical);
    QString failure;
    const bool stored = AdministrationDetails::writeSettings(db, *settings, &failure);
    const AdministrationDetails::Settings now = AdministrationDetails::readSettings(db);
    if (!stored || now.doubleEntry != settings->doubleEntry ||
        now.fastItemSeconds != settings->fastItemSeconds ||
        now.fastTestSecondsPerItem != settings->fastTestSecondsPerItem || now.longRun != settings->longRun ||
        now.unanswered != settings->unanswered) {
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   SettingsTexts::changesNotSaved +
                                       (failure.isEmpty() ? QString() : u'\n' + failure),
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    AuditTrail::record(m_context, AuditTrail::Action::SettingsChanged, {}, AuditTexts::entryChecksDetail,
                       this);
    m_context.prompts->notice(this, SettingsTexts::entryChecksSaved, 2000);
    accept();
}
