#include "Frmpas2.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"

#include "DoubleEntryReview.h"
#include "RetestChoice.h"
#include "TestingTexts.h"
#include "common/CaptionLabel.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/NumericKeyFilter.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "common/Twips.h"
#include "datastore/AdministrationStore.h"
#include "datastore/AnswerChecks.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "widgets/FieldBinding.h"
#include "widgets/WindowSkin.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kLastItem = Database::kItemCount;
constexpr int kRowsPerColumn = 10;
// Every twentieth entry reaches the file without waiting for "ذخيره".
constexpr int kEntriesPerCommit = 20;

// The grid, in twips inside its frame: columns 1290 apart from the right, rows 360 apart, each
// entry box 465 x 375 with its item number to its left.
constexpr int kGridWidth = 7920;
constexpr int kFirstBoxLeft = 5962;
constexpr int kColumnPitch = 1290;
constexpr int kRowTop = 120;
constexpr int kRowPitch = 360;
constexpr int kBoxWidth = 465;
constexpr int kBoxHeight = 375;
constexpr int kNumberWidth = 555;
constexpr int kNumberGap = 45;

const QString kItemProperty = QStringLiteral("answerItem");

QSqlDatabase clinicalOf(const AppContext& context)
{
    return Database::connection(context.dataFolder, Database::File::Clinical);
}

QString userOf(const AppContext& context)
{
    return context.session ? context.session->userName() : QString();
}

// The details of the subject's latest administration; nullopt when they cannot be read.
std::optional<AdministrationDetails::Details> latestDetails(const AppContext& context, const QString& code)
{
    const QSqlDatabase db = clinicalOf(context);
    const std::optional<int> sequence = AdministrationStore::latestSequence(db, code);
    return sequence ? AdministrationDetails::read(db, code, *sequence) : std::nullopt;
}

} // namespace

Frmpas2::Frmpas2(const AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frmpas2"));
    setWindowTitle(TestingTexts::sheetTitle);
    setFixedSize(twipsSize(8400, 6795));
    move(twipsPoint(2340, 765));

    m_answers = Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("Answer"));
    m_subjects = Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("IDE"));

    namespace T = TestingTexts;
    auto* instructions = new QLabel(T::sheetInstructions, this);
    instructions->setObjectName(QStringLiteral("Label1"));
    instructions->setGeometry(twipsRect(240, 120, kGridWidth, 840));
    instructions->setWordWrap(true);
    instructions->setAlignment(Qt::AlignCenter);

    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Text4"));
    m_code->setGeometry(twipsRect(5160, 1080, 1380, kBoxHeight));
    addCaptionLabel(m_code, T::sheetCodeCaption, twipsRect(6600, 1080, 1560, kBoxHeight));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text10"));
    m_name->setGeometry(twipsRect(3120, 1560, 3420, kBoxHeight));
    m_name->setReadOnly(true);
    addCaptionLabel(m_name, T::sheetNameCaption, twipsRect(6600, 1560, 1560, kBoxHeight));

    m_counter = new QLineEdit(QStringLiteral("0"), this);
    m_counter->setObjectName(QStringLiteral("Text13"));
    m_counter->hide();

    auto makeButton = [this](const QString& name, const QString& caption, const QRect& place) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAccessibleName(caption);
        button->setGeometry(place);
        // Enter belongs to the code box; no button is clicked by it.
        button->setAutoDefault(false);
        return button;
    };
    auto* select = makeButton(QStringLiteral("Command3"), T::selectSubject, twipsRect(3120, 1050, 1860, 435));
    auto* saveButton = makeButton(QStringLiteral("Command1"), T::save, twipsRect(4320, 6120, 1800, 435));
    auto* exitButton = makeButton(QStringLiteral("Command2"), T::exit, twipsRect(2280, 6120, 1800, 435));
    connect(select, &QPushButton::clicked, this, &Frmpas2::selectSubject);
    connect(m_code, &QLineEdit::returnPressed, this, &Frmpas2::selectSubject);
    connect(saveButton, &QPushButton::clicked, this, &Frmpas2::save);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::close);

    buildGrid();
    Skins::applyCurrent(this, m_context);
}

Frmpas2::~Frmpas2() = default;

void Frmpas2::buildGrid()
{
    auto* grid = Skins::addPanel(this, QStringLiteral("FrameGrid"), twipsRect(240, 2100, kGridWidth, 3840));
    m_grid = grid;

    NumericKeyFilter::Options keys;
    keys.showNotice = false; // a refused key only beeps here
    keys.highestDigit = u'5';
    keys.acceptEnter = false;

    for (int item = 1; item <= kLastItem; ++item) {
        const int column = (item - 1) / kRowsPerColumn;
        const int row = (item - 1) % kRowsPerColumn;
        const int left = kFirstBoxLeft - column * kColumnPitch;
        const int top = kRowTop + row * kRowPitch;
        const QString number = QString::number(item);

        auto* box = new QLineEdit(grid);
        box->setObjectName(QStringLiteral("Txt1_") + number);
        box->setGeometry(twipsRect(left, top, kBoxWidth, kBoxHeight));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setAccessibleName(number);
        box->setProperty(kItemProperty.toLatin1().constData(), item);
        new NumericKeyFilter(*m_context.prompts, box, keys);
        box->installEventFilter(this);
        // Only what the user types counts as an entry; loading a subject's answers does not.
        connect(box, &QLineEdit::textEdited, this, [this, item] { entryEdited(item); });
        m_entryBoxes[item] = box;

        auto* label = new QLabel(number, grid);
        label->setObjectName(QStringLiteral("SkinLbl1_") + number);
        label->setGeometry(twipsRect(left - kNumberGap - kNumberWidth, top, kNumberWidth, kBoxHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(box);

        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Txt2_") + number);
        field->hide();
        FieldBinding::bind(*m_answers, Database::itemColumn(item), field);
        m_hiddenFields[item] = field;
    }
    for (int item = 2; item <= kLastItem; ++item)
        setTabOrder(m_entryBoxes[item - 1], m_entryBoxes[item]);
    grid->hide();
}

void Frmpas2::hideGrid()
{
    m_grid->hide();
    m_name->clear();
    m_subjectShown = false;
    m_secondEntry = false;
}

bool Frmpas2::keepTypedAnswers()
{
    if (!m_subjectShown)
        return true;
    QString failure;
    const bool stored = m_secondEntry ? storeSecondEntry(&failure) : storeTypedAnswers();
    if (!stored) {
        // The typed answers stay in the boxes and the sheet on its subject, so that the clinician
        // can free the disk and save again instead of losing them without a word.
        m_code->setText(m_shownCode);
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   TestingTexts::answersNotStored +
                                       (m_secondEntry ? QString() : m_answers->failureNote()),
                                   Prompts::Icon::Exclamation, true);
        if (m_lastEntryBox && m_grid->isVisible())
            m_lastEntryBox->setFocus();
        return false;
    }
    m_entries = 0;
    m_counter->setText(QStringLiteral("0"));
    return true;
}

bool Frmpas2::storeTypedAnswers()
{
    if (!m_answers->hasCurrentRow() || m_answers->isNewRow() || !m_answers->commit())
        return false;
    // Success means the file holds what the boxes show: read the row back through a view of its own.
    std::unique_ptr<DataView> stored =
        Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("Answer"));
    if (!stored->filterBy(QStringLiteral("Code"), m_shownCode) || stored->count() != 1)
        return false;
    for (int item = 1; item <= kLastItem; ++item) {
        if (stored->field(QString::number(item)) != m_hiddenFields[item]->text())
            return false;
    }
    QString failure;
    if (!storeFirstEntryState(&failure))
        return false;
    AuditTrail::record(m_context, AuditTrail::Action::RecordChanged, m_shownCode,
                       AuditTexts::answerSheetDetail, this);
    return true;
}

bool Frmpas2::storeFirstEntryState(QString* failure)
{
    if (!m_typedSinceShown)
        return true;
    const bool twice = AdministrationDetails::readSettings(clinicalOf(m_context)).doubleEntry;
    const auto wanted =
        twice ? AdministrationDetails::EntryState::AwaitingSecond : AdministrationDetails::EntryState::Once;
    // A sheet typed again needs its second entry again; one entered once needs no row.
    if (m_details.state == wanted && (twice || m_details.second == decltype(m_details.second){}))
        return true;
    AdministrationDetails::Details details = m_details;
    details.state = wanted;
    details.firstUser = userOf(m_context);
    details.secondUser.clear();
    details.reviewer.clear();
    details.second = {};
    if (!AdministrationDetails::store(clinicalOf(m_context), details, failure))
        return false;
    m_details = details;
    return true;
}

bool Frmpas2::storeSecondEntry(QString* failure)
{
    AdministrationDetails::Details details = m_details;
    details.second = m_secondValues;
    if (!AdministrationDetails::store(clinicalOf(m_context), details, failure))
        return false;
    m_details = details;
    return true;
}

void Frmpas2::startSecondEntry(const QString& code, AdministrationDetails::Details details)
{
    if (details.state == AdministrationDetails::EntryState::AwaitingSecond) {
        details.state = AdministrationDetails::EntryState::SecondUnderWay;
        details.secondUser = userOf(m_context);
        details.second = {};
        QString failure;
        if (!AdministrationDetails::store(clinicalOf(m_context), details, &failure)) {
            hideGrid();
            m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::entryStateNotStored,
                                       Prompts::Icon::Exclamation, true);
            return;
        }
        AuditTrail::record(m_context, AuditTrail::Action::RecordChanged, code, AuditTexts::secondEntryDetail,
                           this);
    }
    // The first entry's answers stay out of this window: the view bound to the hidden fields
    // shows no row while the second entry is typed.
    m_answers->setFilter(QString());
    m_details = details;
    m_secondValues = details.second;
    m_secondEntry = true;
    m_typedSinceShown = false;
    m_code->setText(code);
    m_shownCode = code;
    m_name->setText(m_subjects->field(QStringLiteral("FName")) + u' ' +
                    m_subjects->field(QStringLiteral("LName")));
    m_grid->show();
    m_subjectShown = true;
    m_entries = 0;
    m_counter->setText(QStringLiteral("0"));
    for (int item = 1; item <= kLastItem; ++item)
        m_entryBoxes[item]->setText(m_secondValues[static_cast<std::size_t>(item - 1)]);
    m_context.prompts->notice(this, TestingTexts::secondEntryNotice, 3000);
    // The notice has had the keyboard; the first digit typed after it belongs to item 1.
    activateWindow();
    m_entryBoxes[1]->setFocus();
    m_entryBoxes[1]->selectAll();
}

void Frmpas2::finishSecondEntry()
{
    QString failure;
    const QSqlDatabase db = clinicalOf(m_context);
    const std::optional<AnswerChecks::Answers> first =
        storeSecondEntry(&failure) ? AdministrationDetails::latestAnswers(db, m_shownCode) : std::nullopt;
    if (!first) {
        m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::answersNotStored,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    const AnswerChecks::Comparison comparison = AnswerChecks::compare(*first, m_secondValues);
    AdministrationDetails::Details details = m_details;
    details.state = comparison.agrees() ? AdministrationDetails::EntryState::Verified
                                        : AdministrationDetails::EntryState::AwaitingReview;
    bool stored = false;
    {
        Transaction transaction(db);
        stored = transaction.isOpen() && AdministrationDetails::write(db, details, &failure) &&
                 AuditTrail::append(m_context, AuditTrail::Action::RecordChanged, m_shownCode,
                                    comparison.agrees()
                                        ? AuditTexts::entriesAgreeDetail
                                        : AuditTexts::entriesDisagreeDetail(
                                              AnswerChecks::percentText(comparison.agreementPercent)),
                                    &failure) &&
                 transaction.commit();
    }
    if (!stored) {
        // The second entry itself is stored; the comparison runs again at its last item.
        m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::entryStateNotStored,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    m_details = details;
    m_secondEntry = false;
    hideGrid();
    m_answers->requery();
    if (comparison.agrees())
        m_context.prompts->notice(this, TestingTexts::entriesAgree, 2000);
    else
        openReview(details);
}

void Frmpas2::openReview(const AdministrationDetails::Details& details)
{
    const std::optional<AnswerChecks::Answers> first =
        AdministrationDetails::latestAnswers(clinicalOf(m_context), details.code);
    if (!first) {
        m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::entryStateNotRead,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    DoubleEntryReview review(m_context, details, *first, this);
    review.exec();
    m_answers->requery();
}

void Frmpas2::selectSubject()
{
    // The answers typed for the subject shown so far are kept before another one is looked up.
    if (!keepTypedAnswers())
        return;

    const QString code = withLatinDigits(m_code->text());
    if (code.isEmpty()) {
        hideGrid();
        m_context.prompts->notice(this, CommonTexts::enterSubjectNumber);
        return;
    }
    m_subjects->filterBy(QStringLiteral("Code"), code);
    if (m_subjects->count() == 0) {
        // The grid goes: typing on would otherwise change the subject shown before.
        hideGrid();
        m_context.prompts->notice(this, CommonTexts::noSuchSubject);
        return;
    }
    if (m_subjectShown && m_secondEntry && code == m_shownCode) {
        m_entryBoxes[1]->setFocus(); // the second entry goes on as it stands
        return;
    }
    // The sheet shown again for its own subject goes on with the administration being typed.
    if (!(m_subjectShown && code == m_shownCode)) {
        m_secondEntry = false;
        m_typedSinceShown = false;
        // A sheet entered twice goes on where its entries stand.
        const std::optional<AdministrationDetails::Details> pending = latestDetails(m_context, code);
        if (!pending) {
            hideGrid();
            m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::entryStateNotRead,
                                       Prompts::Icon::Exclamation, true);
            return;
        }
        using State = AdministrationDetails::EntryState;
        if (pending->state == State::AwaitingReview) {
            hideGrid();
            openReview(*pending);
            return;
        }
        if (pending->state == State::AwaitingSecond || pending->state == State::SecondUnderWay) {
            startSecondEntry(code, *pending);
            return;
        }
        if (RetestChoice::ask(m_context, this, code, AdministrationStore::Entry::PaperSheet) !=
            RetestChoice::Outcome::Proceed) {
            hideGrid();
            return;
        }
        m_answers->requery(); // a new administration has emptied the answers
        const std::optional<AdministrationDetails::Details> details = latestDetails(m_context, code);
        if (!details) {
            hideGrid();
            m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::entryStateNotRead,
                                       Prompts::Icon::Exclamation, true);
            return;
        }
        m_details = *details;
    }
    m_answers->filterBy(QStringLiteral("code"), code);
    if (m_answers->count() == 0) {
        // The new row holds the code exactly as the lookup uses it: a code with blanks around it,
        // stored without them, could not be found again and the answers typed next would be lost.
        m_answers->addNew();
        m_answers->setField(QStringLiteral("Code"), code);
        const bool created = m_answers->commit();
        m_answers->requery();
        m_answers->filterBy(QStringLiteral("code"), code);
        if (!created || m_answers->count() == 0) {
            // Answers typed now would have no row to go to: say so before anything is typed.
            hideGrid();
            m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::answerRowNotCreated,
                                       Prompts::Icon::Exclamation, true);
            return;
        }
    }

    m_code->setText(code);
    m_shownCode = code;
    m_name->setText(m_subjects->field(QStringLiteral("FName")) + u' ' +
                    m_subjects->field(QStringLiteral("LName")));
    m_grid->show();
    m_subjectShown = true;
    m_entries = 0;
    m_counter->setText(QStringLiteral("0"));
    for (int item = 1; item <= kLastItem; ++item)
        m_entryBoxes[item]->setText(m_hiddenFields[item]->text());
    m_entryBoxes[1]->setFocus();
    m_entryBoxes[1]->selectAll();
}

void Frmpas2::entryEdited(int item)
{
    QLineEdit* box = m_entryBoxes[item];
    const QString text = box->text();
    m_typedSinceShown = true;
    // The second entry keeps its answers apart from the first's.
    QString& second = m_secondValues[static_cast<std::size_t>(item - 1)];
    if (text.isEmpty()) {
        if (m_secondEntry)
            second.clear();
        else
            m_hiddenFields[item]->clear(); // the item is unanswered again; the focus stays here
        return;
    }
    const QString answer = text == QLatin1String("0") ? QString() : text;
    if (m_secondEntry)
        second = answer;
    else
        m_hiddenFields[item]->setText(answer);
    if (item == kLastItem) {
        if (m_secondEntry)
            finishSecondEntry();
        return;
    }
    if (++m_entries == kEntriesPerCommit && !keepTypedAnswers())
        return;
    m_counter->setText(QString::number(m_entries));
    QLineEdit* nextBox = m_entryBoxes[item + 1];
    nextBox->setFocus();
    nextBox->selectAll(); // the next digit replaces what the box showed
}

void Frmpas2::save()
{
    // Without a subject on the sheet there is nothing to save, and no success to report.
    if (m_code->text().isEmpty() || !m_subjectShown) {
        m_context.prompts->notice(this, TestingTexts::selectFirst);
        return;
    }
    QString failure;
    if (!(m_secondEntry ? storeSecondEntry(&failure) : storeTypedAnswers())) {
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   TestingTexts::saveFailed +
                                       (m_secondEntry ? QString() : m_answers->failureNote()),
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    m_entries = 0;
    m_counter->setText(QStringLiteral("0"));
    m_context.prompts->notice(this, TestingTexts::changesSaved);
    // Back to the box being typed in, so that the next digit is not lost on the button.
    if (m_lastEntryBox && m_grid->isVisible())
        m_lastEntryBox->setFocus();
}

void Frmpas2::done(int result)
{
    if (!keepTypedAnswers())
        return; // the window stays open with the answers that could not be stored
    QDialog::done(result);
}

bool Frmpas2::eventFilter(QObject* watched, QEvent* event)
{
    // A box entered with the mouse or Tab has its content selected too, so a digit replaces it.
    if (event->type() == QEvent::FocusIn &&
        watched->property(kItemProperty.toLatin1().constData()).isValid()) {
        auto* box = static_cast<QLineEdit*>(watched);
        m_lastEntryBox = box;
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}
