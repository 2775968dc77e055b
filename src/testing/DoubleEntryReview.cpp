#include "DoubleEntryReview.h"

#include "TestingTexts.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "widgets/WindowSkin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The reviewed value of a box: "0" … "5" as typed (Persian digits and blanks allowed), nullopt
// for anything else.
std::optional<QString> reviewedValue(const QString& typed)
{
    const QString text = withLatinDigits(typed).trimmed();
    if (text.size() != 1 || text.at(0) < u'0' || text.at(0) > u'5')
        return std::nullopt;
    return text == QLatin1String("0") ? QString() : text;
}

} // namespace

DoubleEntryReview::DoubleEntryReview(const AppContext& context, const AdministrationDetails::Details& details,
                                     const AnswerChecks::Answers& first, QWidget* parent)
    : QDialog(parent), m_context(context), m_details(details), m_first(first)
{
    namespace T = TestingTexts;
    setObjectName(QStringLiteral("DoubleEntryReview"));
    setWindowTitle(T::reviewTitle);
    setLayoutDirection(Qt::RightToLeft);

    const AnswerChecks::Comparison comparison = AnswerChecks::compare(first, details.second);
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(T::reviewIntro(details.code, AnswerChecks::percentText(comparison.agreementPercent),
                                  int(comparison.differing.size())),
                   this);
    intro->setObjectName(QStringLiteral("reviewIntro"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* table = new QWidget(scroll);
    auto* grid = new QGridLayout(table);
    const QStringList headings{T::reviewItemHeading, T::reviewFirstHeading, T::reviewSecondHeading,
                               T::reviewChosenHeading};
    for (int column = 0; column < headings.size(); ++column) {
        auto* heading = new QLabel(QStringLiteral("<b>%1</b>").arg(headings.at(column)), table);
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, column);
    }
    int row = 1;
    for (const int item : comparison.differing) {
        const auto at = static_cast<std::size_t>(item - 1);
        auto* value = new QLineEdit(table);
        value->setObjectName(QStringLiteral("reviewValue_%1").arg(item));
        value->setAlignment(Qt::AlignCenter);
        value->setMaximumWidth(80);
        value->setAccessibleName(T::reviewItemCaption(item));
        auto* caption = new QLabel(T::reviewItemCaption(item), table);
        caption->setObjectName(QStringLiteral("Label_reviewValue_%1").arg(item));
        caption->setBuddy(value);
        grid->addWidget(caption, row, 0);
        int column = 1;
        for (const QString& entered :
             {AnswerChecks::answerOf(first[at]), AnswerChecks::answerOf(details.second[at])}) {
            auto* pick = new QPushButton(T::reviewValueCaption(entered), table);
            pick->setObjectName(QStringLiteral("reviewPick%1_%2").arg(column).arg(item));
            pick->setAccessibleName(headings.at(column) + u' ' + T::reviewItemCaption(item));
            pick->setAutoDefault(false);
            connect(pick, &QPushButton::clicked, value,
                    [value, entered] { value->setText(entered.isEmpty() ? QStringLiteral("0") : entered); });
            grid->addWidget(pick, row, column++);
        }
        grid->addWidget(value, row, column);
        m_values.insert(item, value);
        ++row;
    }
    grid->setRowStretch(row, 1);
    scroll->setWidget(table);
    layout->addWidget(scroll, 1);
    // Tall enough for a few rows without scrolling, never taller than the screen's usual share.
    resize(520, std::min(560, 190 + 40 * row));

    auto* buttons = new QHBoxLayout;
    auto* storeButton = new QPushButton(T::reviewStore, this);
    storeButton->setObjectName(QStringLiteral("reviewStore"));
    storeButton->setAutoDefault(false);
    auto* later = new QPushButton(T::reviewLater, this);
    later->setObjectName(QStringLiteral("reviewLater"));
    later->setAutoDefault(false);
    buttons->addWidget(storeButton);
    buttons->addWidget(later);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(storeButton, &QPushButton::clicked, this, &DoubleEntryReview::store);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    Skins::applyCurrent(this, m_context);
}

void DoubleEntryReview::store()
{
    namespace T = TestingTexts;
    // Items both entries agree on keep their value; each disagreeing one takes the reviewer's.
    AnswerChecks::Answers reviewed;
    for (std::size_t i = 0; i < reviewed.size(); ++i)
        reviewed[i] = AnswerChecks::answerOf(m_first[i]);
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        const std::optional<QString> value = reviewedValue(it.value()->text());
        if (!value) {
            m_context.prompts->message(this, CommonTexts::warningTitle, T::reviewIncomplete,
                                       Prompts::Icon::Exclamation, true);
            it.value()->setFocus();
            return;
        }
        reviewed[static_cast<std::size_t>(it.key() - 1)] = *value;
    }
    const QSqlDatabase db = Database::connection(m_context.dataFolder, Database::File::Clinical);
    const QString reviewer = m_context.session ? m_context.session->userName() : QString();
    QString failure;
    bool stored = false;
    {
        Transaction transaction(db);
        stored = transaction.isOpen() &&
                 AdministrationDetails::storeReview(db, m_details, reviewed, reviewer, &failure) &&
                 AuditTrail::append(m_context, AuditTrail::Action::RecordChanged, m_details.code,
                                    AuditTexts::reviewDetail, &failure) &&
                 transaction.commit();
    }
    const std::optional<AdministrationDetails::Details> back =
        stored ? AdministrationDetails::read(db, m_details.code, m_details.sequence) : std::nullopt;
    const auto answersBack = stored ? AdministrationDetails::latestAnswers(db, m_details.code) : std::nullopt;
    bool same = answersBack.has_value();
    for (std::size_t i = 0; same && i < reviewed.size(); ++i)
        same = AnswerChecks::answerOf((*answersBack)[i]) == reviewed[i];
    if (!back || back->state != AdministrationDetails::EntryState::Verified || !same) {
        // The reviewer's values stay in their boxes for another try.
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   T::reviewNotStored + (failure.isEmpty() ? QString() : u'\n' + failure),
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    m_context.prompts->notice(this, T::reviewStored);
    accept();
}
