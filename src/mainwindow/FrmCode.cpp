#include "FrmCode.h"
#include "audit/AuditTrail.h"
#include "common/Permissions.h"

#include "FinderTexts.h"
#include "SubjectListModel.h"
#include "common/BackgroundWork.h"
#include "common/CaptionLabel.h"
#include "common/DigitText.h"
#include "common/Navigator.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "widgets/FieldBinding.h"
#include "widgets/WindowSkin.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSqlError>
#include <QStringListModel>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace {

// The right-hand column of search boxes, the delete frame and the commands.
constexpr int kSideLeft = 7080;
constexpr int kSideWidth = 2880;
constexpr int kCaptionHeight = 300;
constexpr int kBoxHeight = 360;
constexpr int kCommandHeight = 420;

const QString kLastName = QStringLiteral("LName");
const QString kFirstName = QStringLiteral("FName");
const QString kGroup = QStringLiteral("Group");

QPushButton* addCommand(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAccessibleName(caption);
    return button;
}

} // namespace

FrmCode::FrmCode(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmCode"));
    setWindowTitle(FinderTexts::windowCaption);
    setFixedSize(twipsSize(10200, 6720));
    move(twipsPoint(2340, 765));

    const QString& folder = m_context.dataFolder;
    m_profile = Database::openView(folder, Database::File::Theme, QStringLiteral("Theme"));
    m_deleteSubjects = Database::openView(folder, Database::File::Clinical, QStringLiteral("IDE"));
    m_deleteAnswers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    m_list = new SubjectListModel(Database::connection(folder, Database::File::Clinical), this);

    buildSearchBoxes();
    buildGrid();
    buildDeleteFrame();
    buildCommands();
    Skins::applyCurrent(this, m_context);
    // Only the commands the signed-in user's role may use are offered.
    findChild<QGroupBox*>(QStringLiteral("Frame1"))->setVisible(mayUse(m_context, Command::DeleteSubject));
    findChild<QPushButton*>(QStringLiteral("Command1"))->setVisible(mayUse(m_context, Command::Print));
    findChild<QPushButton*>(QStringLiteral("CmdExport"))->setVisible(mayUse(m_context, Command::Export));

    // The clinic address rides along in a hidden field, as the window has always carried it.
    auto* address = new QLineEdit(this);
    address->setObjectName(QStringLiteral("Text4"));
    address->hide();
    FieldBinding::bind(*m_profile, QStringLiteral("Adress"), address);

    showSubjects(SubjectSelection{});
    followShownRows(nullptr);
}

FrmCode::~FrmCode() = default;

const SubjectSelection& FrmCode::shownSelection() const
{
    return m_list->selection();
}

QComboBox* FrmCode::addSearchBox(int index, const QString& name, const QString& caption, int top,
                                 const QString& column)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setGeometry(twipsRect(kSideLeft, top + kCaptionHeight + 30, kSideWidth, kBoxHeight));
    // Thousands of names: never measure every item, and let the list assume one row height.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMaxVisibleItems(15);
    if (auto* list = qobject_cast<QListView*>(combo->view()))
        list->setUniformItemSizes(true);
    addCaptionLabel(combo, caption, twipsRect(kSideLeft, top, kSideWidth, kCaptionHeight));

    SearchBox& box = m_searchBoxes.at(index);
    box.combo = combo;
    box.column = column;
    connect(combo, &QComboBox::editTextChanged, this, [this, &box] { search(box); });
    return combo;
}

void FrmCode::buildSearchBoxes()
{
    namespace T = FinderTexts;
    addSearchBox(0, QStringLiteral("DataCombo1"), T::lastNameCaption, 480, kLastName);
    addSearchBox(1, QStringLiteral("DataCombo6"), T::firstNameCaption, 1290, kFirstName);
    for (int index = 0; index < 2; ++index) {
        QComboBox* combo = m_searchBoxes.at(index).combo;
        auto* items = new QStringListModel(combo);
        combo->setModel(items);
        // Typing offers the names that begin with the typed text in a list under the box.
        auto* completer = new QCompleter(items, combo);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        combo->setCompleter(completer);
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        m_searchBoxes.at(index).items = items;
        m_searchBoxes.at(index).listing = std::make_unique<BackgroundWork>();
    }

    QComboBox* group = addSearchBox(2, QStringLiteral("Combo3"), T::groupCaption, 2100, kGroup);
    {
        const QSignalBlocker quiet(group); // the first item would otherwise start a search
        group->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                         QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")});
    }
    clearSearchBox(m_searchBoxes.at(2));
    group->lineEdit()->setPlaceholderText(T::groupHint);
    group->setAccessibleDescription(T::groupHint);
}

void FrmCode::buildGrid()
{
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setGeometry(twipsRect(240, 480, 6600, 6000));
    addCaptionLabel(m_grid, FinderTexts::gridCaption, twipsRect(240, 120, 6600, 330), Qt::AlignCenter);
    m_grid->setModel(m_list);
    // The grid shows; nothing is changed in it.
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->setCornerButtonEnabled(false);
    m_grid->verticalHeader()->hide();
    // Rows of one fixed height, so that a hundred thousand of them cost nothing to lay out.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    QHeaderView* header = m_grid->horizontalHeader();
    // The last name takes the room the code, first name and group leave.
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    const std::pair<int, int> widths[] = {{0, 1350}, {1, 1500}, {3, 900}};
    for (const auto& [column, twips] : widths)
        header->resizeSection(column, twipsToPixels(twips));
}

void FrmCode::buildDeleteFrame()
{
    namespace T = FinderTexts;
    auto* frame = new QGroupBox(T::deleteFrame, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twipsRect(kSideLeft, 2940, kSideWidth, 1860));

    m_code = new QLineEdit(frame);
    m_code->setObjectName(QStringLiteral("Text5"));
    m_code->setGeometry(twipsRect(120, 780, kSideWidth - 240, kBoxHeight));
    QLabel* prompt =
        addCaptionLabel(m_code, T::codePrompt, twipsRect(120, 390, kSideWidth - 240, kCaptionHeight));
    // The skins paint every plain widget with the window colour; the caption shows the frame's.
    prompt->setStyleSheet(QStringLiteral("background: transparent;"));
    // Codes are stored with the digits 0 to 9; Persian and Arabic-Indic digits become those digits
    // however they arrive (typed, pasted, dropped). The length stays, so the cursor can stay too.
    connect(m_code, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString latin = withLatinDigits(text);
        if (latin == text)
            return;
        const int cursor = m_code->cursorPosition();
        m_code->setText(latin);
        m_code->setCursorPosition(cursor);
    });
    connect(m_code, &QLineEdit::returnPressed, this, &FrmCode::deleteSubject);

    auto* remove = addCommand(frame, QStringLiteral("Command2"), T::deleteCommand,
                              twipsRect(720, 1290, kSideWidth - 1440, kCommandHeight));
    connect(remove, &QPushButton::clicked, this, &FrmCode::deleteSubject);
}

void FrmCode::buildCommands()
{
    namespace T = FinderTexts;
    auto* print = addCommand(this, QStringLiteral("Command1"), T::printByGroup,
                             twipsRect(kSideLeft, 4980, kSideWidth, kCommandHeight));
    auto* exportButton = addCommand(this, QStringLiteral("CmdExport"), T::exportCommand,
                                    twipsRect(kSideLeft, 5490, kSideWidth, kCommandHeight));
    auto* close = addCommand(this, QStringLiteral("Command6"), T::exit,
                             twipsRect(kSideLeft, 6000, kSideWidth, kCommandHeight));
    connect(print, &QPushButton::clicked, this, &FrmCode::printByGroup);
    connect(exportButton, &QPushButton::clicked, this, &FrmCode::exportShown);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void FrmCode::search(SearchBox& acting)
{
    QComboBox* combo = acting.combo;
    QString text = combo->currentText();
    if (acting.column == kGroup && text != text.toUpper()) {
        // Groups are the capital letters A to G; a small letter means the same group.
        text = text.toUpper();
        const QSignalBlocker quiet(combo);
        const int cursor = combo->lineEdit()->cursorPosition();
        combo->setEditText(text);
        combo->lineEdit()->setCursorPosition(cursor);
    }
    // One criterion at a time: the other boxes are emptied without searching themselves.
    for (SearchBox& other : m_searchBoxes) {
        if (&other != &acting)
            clearSearchBox(other);
    }
    // An emptied box lifts its criterion: every subject again.
    SubjectSelection selection;
    if (!text.isEmpty()) {
        selection.filterColumn = acting.column;
        selection.filterValue = text;
    }
    showSubjects(selection);
    followShownRows(text.isEmpty() ? nullptr : &acting);
}

void FrmCode::clearSearchBox(SearchBox& box)
{
    const QSignalBlocker quiet(box.combo);
    box.combo->setCurrentIndex(-1);
    box.combo->clearEditText();
}

void FrmCode::showSubjects(const SubjectSelection& selection)
{
    if (!m_list->show(selection))
        reportFailure(m_list->lastError());
}

void FrmCode::followShownRows(const SearchBox* acting)
{
    // The box being searched keeps the list the user is choosing from.
    for (SearchBox& box : m_searchBoxes) {
        if (box.items && &box != acting)
            box.unlisted = m_list->selection();
    }
}

void FrmCode::listValues(SearchBox& box)
{
    if (!box.items || !box.unlisted)
        return;
    const SubjectSelection rows = *box.unlisted;
    box.unlisted.reset();
    if (rows.filterColumn.isEmpty() && box.allValues) {
        box.listing->supersede(); // a reading of other rows still under way must not replace these
        offerValues(box, *box.allValues);
        return;
    }
    const QString source =
        Database::connection(m_context.dataFolder, Database::File::Clinical).connectionName();
    const QString column = box.column;
    // A reading started earlier for this box is superseded: its list, should it still arrive,
    // describes rows no longer shown.
    box.listing->start([source, column, rows] { return subjectColumnValuesApart(source, column, rows); },
                       [this, &box, rows](const QStringList& values) {
                           if (rows.filterColumn.isEmpty())
                               box.allValues = values;
                           // Rows shown meanwhile are listed when the user next turns to the box.
                           if (!box.unlisted)
                               offerValues(box, values);
                       });
}

void FrmCode::offerValues(SearchBox& box, const QStringList& values)
{
    // A new list puts its first item into the box; what the box held stays, and searches nothing.
    const QSignalBlocker quiet(box.combo);
    const QString text = box.combo->currentText();
    const int cursor = box.combo->lineEdit()->cursorPosition();
    box.items->setStringList(values);
    box.combo->setCurrentIndex(-1);
    box.combo->setEditText(text);
    box.combo->lineEdit()->setCursorPosition(cursor);
}

bool FrmCode::isListing() const
{
    return std::any_of(m_searchBoxes.cbegin(), m_searchBoxes.cend(),
                       [](const SearchBox& box) { return box.listing && box.listing->isWaiting(); });
}

bool FrmCode::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (SearchBox& box : m_searchBoxes) {
            if (box.combo == watched || (box.items && box.combo->lineEdit() == watched))
                listValues(box);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmCode::reportFailure(const QString& description)
{
    m_context.prompts->message(this, CommonTexts::errorTitle, description, Prompts::Icon::Exclamation, true);
}

void FrmCode::printByGroup()
{
    if (!mayUse(m_context, Command::Print))
        return;
    if (m_searchBoxes[2].combo->currentText().isEmpty()) {
        m_context.prompts->notice(this, FinderTexts::chooseGroup);
        return;
    }
    // The rows the grid shows, which a group in the group box makes the rows of that group.
    SubjectSelection selection = m_list->selection();
    selection.orderColumn = kGroup;
    m_context.navigator->printSubjectList(selection, false);
    m_deleteSubjects->requery();
}

void FrmCode::exportShown()
{
    if (!mayUse(m_context, Command::Export))
        return;
    SubjectSelection selection = m_list->selection();
    selection.orderColumn = QStringLiteral("Code");
    m_context.navigator->exportSubjects(selection);
}

void FrmCode::deleteSubject()
{
    if (!mayUse(m_context, Command::DeleteSubject))
        return;
    namespace T = FinderTexts;
    const QString code = m_code->text(); // whole, untrimmed: " 12" is not "12"
    if (code.isEmpty()) {
        m_context.prompts->notice(this, CommonTexts::enterSubjectNumber);
        return;
    }
    const QString codeColumn = QStringLiteral("Code");
    m_deleteSubjects->requery();
    m_deleteSubjects->filterBy(codeColumn, code);
    if (m_deleteSubjects->count() == 0) {
        m_context.prompts->notice(this, T::noSuchCode);
        m_deleteSubjects->requery();
        return;
    }
    m_deleteAnswers->requery();
    m_deleteAnswers->filterBy(codeColumn, code);

    if (!m_context.prompts->askYesNo(this, CommonTexts::applicationTitle, T::confirmDelete)) {
        m_deleteSubjects->requery();
        m_deleteAnswers->requery();
        return;
    }

    // The record, its answers and its earlier administrations go together or not at all. A subject whose
    // answers were never stored is deleted all the same: there is nothing of it left behind.
    bool deleted = false;
    QString failure;
    {
        const QSqlDatabase database = m_deleteSubjects->database();
        Transaction transaction(database);
        if (!transaction.isOpen())
            failure = database.lastError().text();
        else if (!m_deleteSubjects->removeCurrent())
            failure = m_deleteSubjects->lastError();
        else if (m_deleteAnswers->hasCurrentRow() && !m_deleteAnswers->removeCurrent())
            failure = m_deleteAnswers->lastError();
        else if (!AdministrationStore::removeSubject(database, code, &failure))
            ;
        // The deletion and its row in the audit trail stand or fall together.
        else if (!AuditTrail::append(m_context, AuditTrail::Action::Deleted, code, {}, &failure))
            ;
        else if (!transaction.commit())
            failure = database.lastError().text();
        else
            deleted = true;
    }
    m_deleteSubjects->requery();
    m_deleteAnswers->requery();
    if (!deleted) {
        reportFailure(failure.isEmpty() ? CommonTexts::changesNotSaved : failure);
        return;
    }

    m_context.prompts->notice(this, T::deleted);
    m_code->clear();
    m_code->setFocus();
    for (SearchBox& box : m_searchBoxes) {
        clearSearchBox(box);
        box.allValues.reset(); // the names of the deleted subject may be gone
    }
    showSubjects(SubjectSelection{});
    followShownRows(nullptr);
}

void FrmCode::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_closeReported) {
        m_closeReported = true;
        m_context.navigator->subjectFinderClosed();
    }
}
