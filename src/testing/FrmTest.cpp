#include "FrmTest.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"

#include "RetestChoice.h"
#include "TestingTexts.h"
#include "common/CaptionLabel.h"
#include "common/Clock.h"
#include "common/NumericKeyFilter.h"
#include "common/NumericValue.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "widgets/FieldBinding.h"
#include "widgets/WindowSkin.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

constexpr int kLastItem = Database::kItemCount;
constexpr int kOptionCount = 5;
constexpr int kPanelWidth = 8535;

// The subject panel: three columns of three fields, the first column on the right.
constexpr int kSubjectColumnWidth = kPanelWidth / 3;
constexpr int kSubjectRowTop = 150;
constexpr int kSubjectRowPitch = 540;
constexpr int kFieldHeight = 375;

} // namespace

FrmTest::FrmTest(const AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowTitle(TestingTexts::testTitle);
    setFixedSize(twipsSize(9495, 7635));
    move(twipsPoint(2340, 765));

    m_subjects = Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("IDE"));
    m_answers = Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("Answer"));
    m_questions = Database::openView(m_context.dataFolder, Database::File::Clinical, QStringLiteral("QU"));

    buildIntro();
    buildSubjectPanel();
    buildItemArea();
    buildCommands();
    Skins::applyCurrent(this, m_context);
    // The skins colour every widget alike; the options take the colour of their frame instead.
    m_optionsFrame->ensurePolished();
    const QColor frameColour = m_optionsFrame->palette().color(m_optionsFrame->backgroundRole());
    m_optionsFrame->setStyleSheet(
        QStringLiteral("QRadioButton { background-color: %1; }").arg(frameColour.name()));
    resetToIntro();
}

FrmTest::~FrmTest() = default;

QString FrmTest::answerCode(int option)
{
    return QString::number(kOptionCount + 1 - option);
}

void FrmTest::buildIntro()
{
    m_title = new QLabel(TestingTexts::programTitle, this);
    m_title->setObjectName(QStringLiteral("SkinLabel3"));
    m_title->setGeometry(twipsRect(480, 360, kPanelWidth, 720));
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("B Titr"));
    titleFont.setPointSize(18);
    m_title->setFont(titleFont);

    m_instructions = new QLabel(TestingTexts::instructions, this);
    m_instructions->setObjectName(QStringLiteral("SkinLabel4"));
    m_instructions->setGeometry(twipsRect(480, 1320, kPanelWidth, 1920));
    m_instructions->setWordWrap(true);
    m_instructions->setAlignment(Qt::AlignCenter);
    QFont textFont = font();
    textFont.setPointSize(14);
    m_instructions->setFont(textFont);

    m_legend = new QLabel(TestingTexts::optionLegend, this);
    m_legend->setObjectName(QStringLiteral("SkinLabel6"));
    m_legend->setGeometry(twipsRect(480, 3480, kPanelWidth, 600));
    m_legend->setAlignment(Qt::AlignCenter);
    m_legend->setFont(textFont);
}

QLineEdit* FrmTest::addSubjectField(const QString& name, const QString& caption, const QString& column,
                                    int place)
{
    const int left = kPanelWidth - (place / 3 + 1) * kSubjectColumnWidth;
    const int top = kSubjectRowTop + (place % 3) * kSubjectRowPitch;
    auto* field = new QLineEdit(m_subjectPanel);
    field->setObjectName(name);
    field->setGeometry(twipsRect(left + 60, top, 1500, kFieldHeight));
    addCaptionLabel(field, caption, twipsRect(left + 1605, top, 1200, kFieldHeight));
    FieldBinding::bind(*m_subjects, column, field);
    return field;
}

void FrmTest::buildSubjectPanel()
{
    auto* panel = Skins::addPanel(this, QStringLiteral("Frame1"), twipsRect(480, 120, kPanelWidth, 1800));
    m_subjectPanel = panel;

    namespace T = TestingTexts;
    auto* code = addSubjectField(QStringLiteral("Text1"), T::codeCaption, QStringLiteral("Code"), 0);
    addSubjectField(QStringLiteral("Text2"), T::firstNameCaption, QStringLiteral("FName"), 1);
    addSubjectField(QStringLiteral("Text3"), T::lastNameCaption, QStringLiteral("LName"), 2);
    auto* gender = addSubjectField(QStringLiteral("Text4"), T::genderCaption, QStringLiteral("Jens"), 3);
    auto* age = addSubjectField(QStringLiteral("Text5"), T::ageCaption, QStringLiteral("Sen"), 4);
    addSubjectField(QStringLiteral("Text7"), T::maritalCaption, QStringLiteral("Taahol"), 5);
    addSubjectField(QStringLiteral("Text8"), T::educationCaption, QStringLiteral("Tahsil"), 6);
    auto* date = addSubjectField(QStringLiteral("Text9"), T::dateCaption, QStringLiteral("Date"), 7);
    auto* time = addSubjectField(QStringLiteral("Text10"), T::timeCaption, QStringLiteral("Time"), 8);
    code->setReadOnly(true);
    gender->setReadOnly(true);
    age->setMaxLength(3);
    new NumericKeyFilter(*m_context.prompts, age);
    date->setLayoutDirection(Qt::LeftToRight);
    time->setLayoutDirection(Qt::LeftToRight);

    m_answerCode = new QLineEdit(this);
    m_answerCode->setObjectName(QStringLiteral("Text14"));
    m_answerCode->hide();
    FieldBinding::bind(*m_answers, QStringLiteral("Code"), m_answerCode);
}

void FrmTest::buildItemArea()
{
    m_itemNumber = new QLineEdit(this);
    m_itemNumber->setObjectName(QStringLiteral("Text6"));
    m_itemNumber->setGeometry(twipsRect(6135, 2220, 1020, 405));
    m_itemNumber->setAlignment(Qt::AlignCenter);
    new NumericKeyFilter(*m_context.prompts, m_itemNumber);
    m_itemNumberCaption =
        addCaptionLabel(m_itemNumber, TestingTexts::itemNumberCaption, twipsRect(7215, 2220, 1800, 405));
    connect(m_itemNumber, &QLineEdit::textChanged, this, &FrmTest::itemNumberChanged);

    m_itemText = new QLabel(this);
    m_itemText->setObjectName(QStringLiteral("SkinLbl5"));
    m_itemText->setGeometry(twipsRect(480, 3075, kPanelWidth, 1455));
    m_itemText->setWordWrap(true);
    m_itemText->setAlignment(Qt::AlignCenter);
    m_itemText->setFrameShape(QFrame::StyledPanel);
    QFont itemFont = font();
    itemFont.setPointSize(16);
    itemFont.setBold(true);
    m_itemText->setFont(itemFont);

    m_optionsFrame = new QGroupBox(this);
    m_optionsFrame->setObjectName(QStringLiteral("Frame2"));
    m_optionsFrame->setGeometry(twipsRect(480, 4650, kPanelWidth, 2040));
    m_options = new QButtonGroup(this);
    const QString captions[kOptionCount] = {TestingTexts::optionVeryMuch, TestingTexts::optionMuch,
                                            TestingTexts::optionMedium, TestingTexts::optionLittle,
                                            TestingTexts::optionVeryLittle};
    for (int option = 1; option <= kOptionCount; ++option) {
        auto* button = new QRadioButton(captions[option - 1], m_optionsFrame);
        button->setObjectName(QStringLiteral("Option%1").arg(option));
        button->setAccessibleName(captions[option - 1]);
        button->setGeometry(twipsRect(kPanelWidth - 3360, 300 + (option - 1) * 330, 3120, 330));
        m_options->addButton(button, option);
    }
    connect(m_options, &QButtonGroup::idToggled, this, &FrmTest::optionChosen);
}

void FrmTest::buildCommands()
{
    auto makeButton = [this](const QString& name, const QString& caption, const QRect& place) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAccessibleName(caption);
        button->setGeometry(place);
        button->setAutoDefault(false);
        return button;
    };
    namespace T = TestingTexts;
    // "ذخيره و خروج" takes the place of "شروع" once the test runs.
    m_start = makeButton(QStringLiteral("Command1"), T::start, twipsRect(3607, 6840, 2280, 495));
    m_saveAndExit = makeButton(QStringLiteral("Command5"), T::saveAndExit, twipsRect(3607, 6840, 2280, 495));
    // Persian reads from the right: the previous item to the right, the next one to the left.
    m_back = makeButton(QStringLiteral("CmdBack"), T::back, twipsRect(7035, 6840, 1980, 495));
    m_next = makeButton(QStringLiteral("CmdNext"), T::next, twipsRect(480, 6840, 1980, 495));
    m_next->setDefault(true);

    connect(m_start, &QPushButton::clicked, this, &FrmTest::start);
    connect(m_next, &QPushButton::clicked, this, [this] { moveBy(1); });
    connect(m_back, &QPushButton::clicked, this, [this] { moveBy(-1); });
    connect(m_saveAndExit, &QPushButton::clicked, this, &FrmTest::saveAndExit);
}

void FrmTest::showIntro(bool intro)
{
    for (QWidget* widget : {static_cast<QWidget*>(m_title), static_cast<QWidget*>(m_instructions),
                            static_cast<QWidget*>(m_legend), static_cast<QWidget*>(m_start)})
        widget->setVisible(intro);
    // The client in a locked test sees only the questions.
    m_subjectPanel->setVisible(!intro && !isLocked());
    for (QWidget* widget :
         {static_cast<QWidget*>(m_optionsFrame), static_cast<QWidget*>(m_itemText),
          static_cast<QWidget*>(m_itemNumber), static_cast<QWidget*>(m_itemNumberCaption),
          static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_back), static_cast<QWidget*>(m_saveAndExit)})
        widget->setVisible(!intro);
}

bool FrmTest::prepareForCode(const QString& code)
{
    if (RetestChoice::ask(m_context, parentWidget(), code, AdministrationStore::Entry::OnScreen) !=
        RetestChoice::Outcome::Proceed)
        return false;
    // The timings go on from what an earlier sitting of this administration kept.
    const QSqlDatabase db = Database::connection(m_context.dataFolder, Database::File::Clinical);
    const std::optional<int> sequence = AdministrationStore::latestSequence(db, code);
    const std::optional<AdministrationDetails::Details> details =
        sequence ? AdministrationDetails::read(db, code, *sequence) : std::nullopt;
    if (!details) {
        m_context.prompts->message(parentWidget(), CommonTexts::warningTitle, TestingTexts::retestNotRead,
                                   Prompts::Icon::Exclamation, true);
        return false;
    }
    m_details = *details;
    m_details.timed = true;
    m_timedItem = 0;
    m_itemShown = false;
    m_answerChosen = false;
    // Rows other windows committed since the last run must be seen.
    m_subjects->requery();
    m_answers->requery();
    m_answerField.clear();
    showIntro(true);

    m_subjects->filterBy(QStringLiteral("code"), code);
    m_answers->filterBy(QStringLiteral("code"), code);
    if (m_answers->count() == 0) {
        // A subject without an answer row gets one now, holding only the code.
        m_answers->addNew();
        m_answerCode->setText(code);
        const bool created = m_answers->commit();
        m_answers->filterBy(QStringLiteral("code"), code);
        if (!created || m_answers->count() == 0) {
            // The answers chosen next would have no row to go to: the test does not start.
            m_answers->requery();
            m_context.prompts->message(parentWidget(), CommonTexts::warningTitle,
                                       TestingTexts::answerRowNotCreated, Prompts::Icon::Exclamation, true);
            return false;
        }
    }
    return true;
}

bool FrmTest::storeAnswers()
{
    if (m_answers->commit())
        return true;
    // The chosen answer stays chosen and the item on screen, for another try.
    m_context.prompts->message(this, CommonTexts::warningTitle,
                               TestingTexts::answersNotStored + m_answers->failureNote(),
                               Prompts::Icon::Exclamation, true);
    return false;
}

void FrmTest::resetToIntro()
{
    showIntro(true);
    m_itemNumber->setText(QStringLiteral("0"));
}

void FrmTest::start()
{
    showIntro(false);
    // Through 0, so that item 1 is loaded even when the box already shows 1.
    m_itemNumber->setText(QStringLiteral("0"));
    m_itemNumber->setText(QStringLiteral("1"));
    m_next->setFocus();
}

void FrmTest::moveBy(int step)
{
    if (!storeAnswers())
        return;
    m_itemNumber->setText(QString::number(wholeNumericValue(m_itemNumber->text()) + step));
}

void FrmTest::itemNumberChanged(const QString& text)
{
    if (text.isEmpty()) {
        m_itemText->clear();
        m_itemNumber->setText(QStringLiteral("1"));
        return;
    }
    const double value = numericValue(text);
    if (value < 0) {
        m_context.prompts->notice(this, TestingTexts::startNotice);
        m_itemNumber->setText(QStringLiteral("1"));
        return;
    }
    if (value > kLastItem) {
        if (!storeAnswers()) {
            m_itemNumber->setText(QString::number(kLastItem));
            return;
        }
        m_context.prompts->notice(this, TestingTexts::endNotice);
        m_itemNumber->setText(QString::number(kLastItem));
        return;
    }
    // 0 shows no item and leaves the display as it was, so the last item shown is still answered.
    const int item = static_cast<int>(std::floor(value));
    if (item >= 1)
        loadItem(item);
}

QDateTime FrmTest::now() const
{
    return m_context.clock ? m_context.clock->now() : QDateTime::currentDateTime();
}

void FrmTest::countItemTime()
{
    const QDateTime at = now();
    if (m_timedItem >= 1 && m_timedItem <= kLastItem && m_timedSince.isValid())
        m_details.milliseconds[static_cast<std::size_t>(m_timedItem - 1)] +=
            std::max<qint64>(0, m_timedSince.msecsTo(at));
    m_timedSince = at;
}

void FrmTest::loadItem(int item)
{
    countItemTime();
    m_timedItem = item;
    m_itemShown = true;
    const QString number = QString::number(item);
    m_questions->filterBy(QStringLiteral("ID"), number);
    // An item whose text is missing from the bank shows an empty text area, and can still be answered.
    m_itemText->setText(m_questions->hasCurrentRow() ? m_questions->field(QStringLiteral("QUs")) : QString());
    m_answerField = Database::itemColumn(item);
    m_optionsFrame->setTitle(number);
    showStoredAnswer(m_answers->field(m_answerField));
}

void FrmTest::showStoredAnswer(const QString& value)
{
    m_showingAnswer = true;
    // Exclusive groups cannot be cleared, so the group lets go while all five are unset.
    m_options->setExclusive(false);
    for (QAbstractButton* button : m_options->buttons())
        button->setChecked(false);
    m_options->setExclusive(true);
    for (int option = 1; option <= kOptionCount; ++option) {
        if (value == answerCode(option))
            m_options->button(option)->setChecked(true);
    }
    m_showingAnswer = false;
}

void FrmTest::optionChosen(int option, bool checked)
{
    if (!checked || m_showingAnswer || m_answerField.isEmpty())
        return;
    const QString before = m_answers->field(m_answerField).trimmed();
    if (m_timedItem >= 1 && m_timedItem <= kLastItem && !before.isEmpty() && before != answerCode(option))
        ++m_details.changes[static_cast<std::size_t>(m_timedItem - 1)];
    m_answerChosen = true;
    m_answers->setField(m_answerField, answerCode(option));
}

void FrmTest::saveAndExit()
{
    // The window stays open with what could not be stored, so that nothing chosen is lost unseen.
    if (!storeAnswers())
        return;
    if (isLocked() && !allAnswered()) {
        m_confirming = true;
        const bool confirmed = m_confirmLeaving(this);
        m_confirming = false;
        if (!confirmed) {
            takeScreenBack();
            return;
        }
    }
    if (!m_subjects->commit()) {
        m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::subjectNotStored,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    // A window left from its intro has nothing to keep; answers chosen on screen replace a paper
    // sheet's entries, whose second entry would have nothing left to check.
    countItemTime();
    if (m_itemShown) {
        AdministrationDetails::Details details = m_details;
        if (m_answerChosen && details.state != AdministrationDetails::EntryState::Once) {
            details.state = AdministrationDetails::EntryState::Once;
            details.second = {};
            details.secondUser.clear();
            details.reviewer.clear();
        }
        if (!AdministrationDetails::store(
                Database::connection(m_context.dataFolder, Database::File::Clinical), details)) {
            m_context.prompts->message(this, CommonTexts::warningTitle, TestingTexts::timingsNotStored,
                                       Prompts::Icon::Exclamation, true);
            return;
        }
        m_details = details;
    }
    m_timedItem = 0;
    AuditTrail::record(m_context, AuditTrail::Action::RecordChanged, m_answerCode->text(),
                       AuditTexts::onScreenTestDetail, this);
    m_leaving = true;
    QDialog::done(QDialog::Accepted);
    m_answerField.clear();
    m_answers->requery();
    m_subjects->requery();
}

void FrmTest::reject()
{
    // Esc and the close box: in the locked test they do nothing at all.
    if (isLocked())
        return;
    saveAndExit();
}

bool FrmTest::allAnswered() const
{
    for (int item = 1; item <= kLastItem; ++item) {
        if (m_answers->field(Database::itemColumn(item)).trimmed().isEmpty())
            return false;
    }
    return true;
}

void FrmTest::setLocked(std::function<bool(QWidget*)> confirmLeaving)
{
    m_confirmLeaving = std::move(confirmLeaving);
    // The widgets move into one sheet of the window's usual size, kept in the middle of the screen.
    const QSize usual = size();
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("lockedTestContent"));
    m_content->resize(usual);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child == m_content)
            continue;
        const bool shown = !child->isHidden();
        const QRect place = child->geometry();
        child->setParent(m_content);
        child->setGeometry(place);
        child->setVisible(shown);
    }
    m_content->show();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowState(Qt::WindowFullScreen);
    showIntro(true);
    qApp->installEventFilter(this);
}

void FrmTest::closeEvent(QCloseEvent* event)
{
    if (isLocked() && !m_leaving) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FrmTest::keyPressEvent(QKeyEvent* event)
{
    if (isLocked() && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmTest::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Without a window manager the full-screen state alone does not size the window.
    if (isLocked() && screen()) {
        setGeometry(screen()->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    }
}

void FrmTest::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_content)
        m_content->move((width() - m_content->width()) / 2, (height() - m_content->height()) / 2);
}

void FrmTest::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (!isLocked() || m_leaving)
        return;
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowFullScreen))
        QTimer::singleShot(0, this, &FrmTest::takeScreenBack);
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_confirming)
        // Left for another program (its own windows, a message of this one, keep their place).
        QTimer::singleShot(100, this, [this] {
            if (!QApplication::activeWindow() && !m_confirming && !m_leaving)
                takeScreenBack();
        });
}

void FrmTest::takeScreenBack()
{
    if (!isLocked() || m_leaving || !isVisible())
        return;
    if (screen())
        setGeometry(screen()->geometry());
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowFullScreen | Qt::WindowActive);
    raise();
    activateWindow();
}

bool FrmTest::eventFilter(QObject* watched, QEvent* event)
{
    // The keys that close or leave a window, wherever the focus is while the locked test runs;
    // those the window manager keeps for itself never reach the program.
    if (isLocked() && !m_leaving && !m_confirming &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers();
        const bool refused =
            key->key() == Qt::Key_Escape || (mods & Qt::AltModifier && key->key() == Qt::Key_F4) ||
            (mods & Qt::AltModifier && key->key() == Qt::Key_Tab) ||
            (mods & Qt::ControlModifier && (key->key() == Qt::Key_W || key->key() == Qt::Key_Q)) ||
            key->key() == Qt::Key_Meta || key->key() == Qt::Key_Super_L || key->key() == Qt::Key_Super_R ||
            key->key() == Qt::Key_Close;
        if (refused) {
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
