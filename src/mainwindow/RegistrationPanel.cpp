#include "RegistrationPanel.h"
#include "audit/AuditTrail.h"
#include "widgets/WindowSkin.h"

#include "CodeProposal.h"
#include "MainViews.h"
#include "PanelHost.h"
#include "RegistrationTexts.h"
#include "calendar/ShamsiDate.h"
#include "common/CaptionLabel.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/NumericKeyFilter.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "datastore/DatastoreTexts.h"
#include "widgets/FieldBinding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>

namespace {

// Two columns of five rows; the caption stands right of its field, as Persian reads.
constexpr int kRowTop = 150;
constexpr int kRowPitch = 450;
constexpr int kRowHeight = 375;
struct ColumnPlace
{
    int fieldLeft;
    int fieldWidth;
    int captionLeft;
    int captionWidth;
};
constexpr ColumnPlace kColumns[2] = {{3780, 1920, 5760, 1290}, {120, 1860, 2040, 1290}};

// The time of day as stored with a new subject: hours, minutes and seconds on a 24-hour clock,
// the same on every desktop, so that the stored texts sort and compare.
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

} // namespace

RegistrationPanel::RegistrationPanel(const AppContext& context, MainViews& views, PanelHost& host,
                                     QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    Skins::markAsPanel(this, QStringLiteral("Frame10"));

    namespace T = RegistrationTexts;
    m_code = addField(QStringLiteral("Text11"), T::codeCaption, 0, 0);
    m_firstName = addField(QStringLiteral("Text6"), T::firstNameCaption, 0, 1);
    m_lastName = addField(QStringLiteral("Text4"), T::lastNameCaption, 0, 2);
    m_gender = addList(QStringLiteral("Combo2"), T::genderCaption, T::genderItems, T::genderHint, 0, 3);
    m_age = addField(QStringLiteral("Text5"), T::ageCaption, 0, 4);
    m_marital = addList(QStringLiteral("Combo1"), T::maritalCaption, T::maritalItems, T::maritalHint, 1, 0);
    m_education = addField(QStringLiteral("Text7"), T::educationCaption, 1, 1);
    m_date = addField(QStringLiteral("Text8"), T::dateCaption, 1, 2);
    m_time = addField(QStringLiteral("Text9"), T::timeCaption, 1, 3);
    m_group = addList(QStringLiteral("Combo3"), T::groupCaption, T::groupItems, T::groupHint, 1, 4);

    m_age->setMaxLength(2);
    new NumericKeyFilter(*m_context.prompts, m_age);
    // Dates and times are written left to right whatever the window's direction.
    m_date->setLayoutDirection(Qt::LeftToRight);
    m_time->setLayoutDirection(Qt::LeftToRight);

    m_genderMirror = addMirror(QStringLiteral("Text16"), QStringLiteral("Jens"));
    m_maritalMirror = addMirror(QStringLiteral("Text15"), QStringLiteral("Taahol"));
    m_groupMirror = addMirror(QStringLiteral("Text17"), QStringLiteral("Group"));
    // Picking an item copies the list's text into its mirror, which is what the new row receives.
    connect(m_gender, &QComboBox::currentTextChanged, m_genderMirror, &QLineEdit::setText);
    connect(m_marital, &QComboBox::currentTextChanged, m_maritalMirror, &QLineEdit::setText);
    connect(m_group, &QComboBox::currentTextChanged, m_groupMirror, &QLineEdit::setText);

    m_proposalCode = new QLabel(this);
    m_proposalCode->setObjectName(QStringLiteral("Textauto"));
    m_proposalCode->hide();

    auto* saveButton = new QPushButton(T::save, this);
    saveButton->setObjectName(QStringLiteral("Command8"));
    saveButton->setAccessibleName(T::save);
    saveButton->setGeometry(twipsRect(5160, 2400, 1500, 405));
    auto* cancelButton = new QPushButton(T::cancel, this);
    cancelButton->setObjectName(QStringLiteral("Command10"));
    cancelButton->setAccessibleName(T::cancel);
    cancelButton->setGeometry(twipsRect(3540, 2400, 1500, 405));
    connect(saveButton, &QPushButton::clicked, this, &RegistrationPanel::save);
    connect(cancelButton, &QPushButton::clicked, this, &RegistrationPanel::cancel);

    // Tab follows the reading order: down the right column, then down the left one.
    QWidget* order[] = {m_code,      m_firstName, m_lastName, m_gender, m_age,      m_marital,
                        m_education, m_date,      m_time,     m_group,  saveButton, cancelButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    bindFields();
    hide();
}

QLineEdit* RegistrationPanel::addField(const QString& name, const QString& caption, int column, int row)
{
    const ColumnPlace& place = kColumns[column];
    const int top = kRowTop + row * kRowPitch;
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setGeometry(twipsRect(place.fieldLeft, top, place.fieldWidth, kRowHeight));
    addCaptionLabel(field, caption, twipsRect(place.captionLeft, top, place.captionWidth, kRowHeight));
    return field;
}

QComboBox* RegistrationPanel::addList(const QString& name, const QString& caption, const QStringList& items,
                                      const QString& hint, int column, int row)
{
    const ColumnPlace& place = kColumns[column];
    const int top = kRowTop + row * kRowPitch;
    // A drop-down list: the user picks an item and cannot type another text. No item is chosen
    // until the user picks one, and the choice stays from one registration to the next.
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setToolTip(hint);
    list->setAccessibleDescription(hint);
    list->setGeometry(twipsRect(place.fieldLeft, top, place.fieldWidth, kRowHeight));
    addCaptionLabel(list, caption, twipsRect(place.captionLeft, top, place.captionWidth, kRowHeight));
    return list;
}

QLineEdit* RegistrationPanel::addMirror(const QString& name, const QString& column)
{
    auto* mirror = new QLineEdit(this);
    mirror->setObjectName(name);
    mirror->setAccessibleName(column);
    mirror->hide();
    return mirror;
}

void RegistrationPanel::bindFields()
{
    DataView& row = *m_views.registration;
    FieldBinding::bind(row, QStringLiteral("Code"), m_code);
    FieldBinding::bind(row, QStringLiteral("FName"), m_firstName);
    FieldBinding::bind(row, QStringLiteral("LName"), m_lastName);
    FieldBinding::bind(row, QStringLiteral("Sen"), m_age);
    FieldBinding::bind(row, QStringLiteral("Tahsil"), m_education);
    FieldBinding::bind(row, QStringLiteral("Date"), m_date);
    FieldBinding::bind(row, QStringLiteral("Time"), m_time);
    FieldBinding::bind(row, QStringLiteral("Jens"), m_genderMirror);
    FieldBinding::bind(row, QStringLiteral("Taahol"), m_maritalMirror);
    FieldBinding::bind(row, QStringLiteral("Group"), m_groupMirror);
    FieldBinding::bind(*m_views.proposal, QStringLiteral("Code"), m_proposalCode);
}

void RegistrationPanel::open()
{
    m_host.closePanels();
    setGeometry(twipsRect(1005, 780, 7170, 2895));
    show();
    raise();

    m_views.registration->addNew(); // every bound field is empty now
    const QDateTime now = m_context.clock->now();
    m_time->setText(now.time().toString(kTimeFormat));
    m_date->setText(ShamsiDate(now.date(), 0));
    m_firstName->setFocus();

    m_views.proposal->requery();
    proposeCode();
    m_host.setRegisterCommandEnabled(false);
}

void RegistrationPanel::proposeCode()
{
    DataView& proposal = *m_views.proposal;
    if (!m_views.hasSubjects()) {
        m_code->clear();
        return;
    }
    std::optional<QString> last;
    if (proposal.moveLast())
        last = proposal.field(QStringLiteral("Code"));
    m_code->setText(::proposeCode(last, [&proposal](const QString& code) {
        proposal.filterBy(QStringLiteral("code"), code);
        return proposal.count() > 0;
    }));
}

void RegistrationPanel::viewsReopened()
{
    // The main window keeps a pending registration when it reads its views again. Should the
    // pending row be gone all the same, the panel must not stay open over a stored subject, whose
    // fields it would then show and save.
    if (isVisible() && !m_views.registration->isNewRow()) {
        hide();
        m_host.setRegisterCommandEnabled(true);
    }
}

bool RegistrationPanel::isPending() const
{
    return !isHidden() && m_views.registration->isNewRow();
}

bool RegistrationPanel::checkFields()
{
    namespace T = RegistrationTexts;
    struct Check
    {
        QString text;
        const QString& notice;
        QWidget* focus;
    };
    const Check checks[] = {
        {m_code->text(), T::enterCode, m_code},
        {m_firstName->text(), T::enterFirstName, m_firstName},
        {m_lastName->text(), T::enterLastName, m_lastName},
        {m_genderMirror->text(), T::chooseGender, m_gender},
        {m_age->text(), T::enterAge, m_age},
        {m_maritalMirror->text(), T::chooseMarital, m_marital},
        {m_groupMirror->text(), T::chooseGroup, m_group},
        {m_education->text(), T::enterEducation, m_education},
    };
    for (const Check& check : checks) {
        // A text of blanks counts as filled in.
        if (check.text.isEmpty()) {
            m_context.prompts->notice(window(), check.notice);
            check.focus->setFocus();
            return false;
        }
    }
    return true;
}

void RegistrationPanel::save()
{
    if (!isPending())
        return;
    m_genderMirror->setText(m_gender->currentText());
    m_maritalMirror->setText(m_marital->currentText());
    m_groupMirror->setText(m_group->currentText());
    // The code is stored as both rows will carry it and as every lookup finds it: without blanks
    // around it and with Latin digits, so that " 1" cannot become a second subject "1".
    m_code->setText(subjectCodeAsStored(m_code->text()));
    if (!checkFields())
        return;

    const QString code = m_code->text();
    m_views.proposal->filterBy(QStringLiteral("code"), code);
    if (m_views.proposal->count() > 0) {
        m_context.prompts->notice(window(), RegistrationTexts::codeTaken);
        m_views.proposal->requery();
        return;
    }

    m_host.setRegisterCommandEnabled(true);
    SqlDialect::Failure failure = SqlDialect::Failure::None;
    if (!storeSubject(&failure)) {
        // Nothing of either row was stored: the subject stays on the panel for another try.
        m_host.setRegisterCommandEnabled(false);
        if (failure == SqlDialect::Failure::DuplicateKey) {
            // Another workstation stored this code since it was checked above: the same notice, and
            // the next free code in its place.
            m_context.prompts->notice(window(), RegistrationTexts::codeTaken);
            m_views.proposal->requery();
            proposeCode();
            return;
        }
        m_context.prompts->message(window(), CommonTexts::warningTitle,
                                   failure == SqlDialect::Failure::ConnectionLost
                                       ? DatastoreTexts::serverConnectionLost
                                       : RegistrationTexts::storeFailed,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    m_views.registration->requery();
    m_views.counting->requery();
    m_views.answers->requery();
    m_host.closePanels();
    m_host.setQuietCloseFlag(QStringLiteral("1"));
}

bool RegistrationPanel::storeSubject(SqlDialect::Failure* failure)
{
    DataView& subjects = *m_views.registration;
    DataView& answers = *m_views.answers;
    const DataView::Row typed = [&subjects] {
        DataView::Row row;
        for (const QString& column : subjects.columns())
            row.insert(column, subjects.field(column));
        return row;
    }();

    // One transaction: an Answer row without its subject would otherwise be left behind by a failed
    // second write, and a later subject registered under the same code would inherit its answers.
    bool stored = false;
    {
        Transaction transaction(subjects.database());
        answers.addNew();
        answers.setField(QStringLiteral("Code"), subjects.field(QStringLiteral("Code")));
        if (!answers.commit())
            *failure = answers.lastFailure();
        else if (!subjects.commit())
            *failure = subjects.lastFailure();
        else if (!AuditTrail::append(m_context, AuditTrail::Action::Registered,
                                     typed.value(QStringLiteral("Code")), {}))
            *failure = SqlDialect::Failure::Other;
        else if (!(stored = transaction.commit()))
            *failure = SqlDialect::classify(subjects.database(), subjects.database().lastError());
        if (!stored && *failure == SqlDialect::Failure::None)
            *failure = SqlDialect::Failure::Other;
    }
    if (stored)
        return true;

    // The views may stand on rows that the rollback removed: read the answers again and start the
    // subject's row anew with what the user typed.
    answers.requery();
    subjects.addNew();
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        if (!it.value().isEmpty())
            subjects.setField(it.key(), it.value());
    }
    return false;
}

void RegistrationPanel::cancel()
{
    m_views.registration->requery(); // the pending row is dropped
    m_host.closePanels();
    m_views.proposal->requery();
}
