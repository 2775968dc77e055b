#include "FrmkLID.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"

#include "common/CaptionLabel.h"
#include "common/DigitText.h"

#include "EstimateProgress.h"
#include "ScoringStore.h"
#include "ScoringTexts.h"
#include "SubjectScoreReport.h"
#include "common/CommonTexts.h"
#include "common/Navigator.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/AdministrationStore.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "reports/ReportPreview.h"
#include "widgets/FieldBinding.h"
#include "widgets/WindowSkin.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

namespace {

const QString kCode = QStringLiteral("Code");
constexpr int kRecordRowHeight = 330;
constexpr int kRecordRowPitch = 390;
constexpr int kCommandHeight = 420;
constexpr int kScoreBoxTop = 495;
// A row under the scores for the chosen subject's administrations over time.
constexpr int kHistoryRow = 540;
constexpr int kScoreBoxWidth = 1155;
constexpr int kScoreBoxHeight = 630;
// Left edges of the score boxes, S to F2.
constexpr std::array<int, ScoringKey::kScaleCount> kScoreBoxLeft{465, 2235, 4050, 5910, 7830};

} // namespace

FrmkLID::FrmkLID(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmkLID"));
    setWindowTitle(ScoringTexts::windowCaption);
    setFixedSize(twipsSize(9945, 5145 + kHistoryRow));

    // Load, in order: place the window, open the views, apply the skin, place the help panel.
    move(twipsPoint(2340, 765));
    openViews();
    buildRecordArea();
    buildCommandBar();
    buildResultsArea();
    buildHiddenCarriers();
    buildHelpPanel();
    Skins::applyCurrent(this, m_context);
    m_helpPanel->setGeometry(twipsRect(1380, 570, 7635, 4485));
}

FrmkLID::~FrmkLID() = default;

void FrmkLID::openViews()
{
    const QString& folder = m_context.dataFolder;
    const QString ide = QStringLiteral("IDE");
    m_theme = Database::openView(folder, Database::File::Theme, QStringLiteral("Theme"));
    m_answers = Database::openView(folder, Database::File::Clinical, QStringLiteral("Answer"));
    m_record = Database::openView(folder, Database::File::Clinical, ide);
    m_scores = Database::openView(folder, Database::File::Clinical, ide);
    m_allSubjects = Database::openView(folder, Database::File::Clinical, ide);
    m_subjectProbe = Database::openView(folder, Database::File::Clinical, ide);
}

QLineEdit* FrmkLID::addRecordField(const QString& name, const QString& caption, int column, int row)
{
    // Two columns of fields, captions on the right of their fields as the text reads.
    const int top = 120 + row * kRecordRowPitch;
    const int fieldLeft = column == 0 ? 5040 : 240;
    const int fieldWidth = column == 0 ? 2760 : 2940;
    const int captionLeft = column == 0 ? 7860 : 3240;
    auto* field = new QLineEdit(m_recordArea);
    field->setObjectName(name);
    field->setGeometry(twipsRect(fieldLeft, top, fieldWidth, kRecordRowHeight));
    addCaptionLabel(field, caption, twipsRect(captionLeft, top, 1440, kRecordRowHeight));
    return field;
}

QPushButton* FrmkLID::addCommand(QWidget* parent, const QString& name, const QString& caption, int left,
                                 int top, int width)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(twipsRect(left, top, width, kCommandHeight));
    button->setAccessibleName(caption);
    return button;
}

void FrmkLID::buildRecordArea()
{
    namespace T = ScoringTexts;
    m_recordArea = Skins::addPanel(this, QStringLiteral("Frame5"), twipsRect(300, 120, 9495, 2115));

    auto* code = addRecordField(QStringLiteral("Text15"), T::captionCode, 0, 0);
    auto* firstName = addRecordField(QStringLiteral("Text3_3"), T::captionFirstName, 0, 1);
    auto* lastName = addRecordField(QStringLiteral("Text12"), T::captionLastName, 0, 2);
    auto* age = addRecordField(QStringLiteral("Text6"), T::captionAge, 0, 3);
    m_gender = addRecordField(QStringLiteral("Text10"), T::captionGender, 1, 0);
    auto* marital = addRecordField(QStringLiteral("Text11"), T::captionMarital, 1, 1);
    auto* education = addRecordField(QStringLiteral("Text7"), T::captionEducation, 1, 2);
    m_date = addRecordField(QStringLiteral("Text8"), T::captionDate, 1, 3);

    // The gender field shares its row with the pick-only list that fills it.
    m_gender->setGeometry(twipsRect(1500, 120, 1680, kRecordRowHeight));
    m_genderList = new QComboBox(m_recordArea);
    m_genderList->setObjectName(QStringLiteral("Combo2"));
    m_genderList->addItems({T::male, T::female});
    m_genderList->setGeometry(twipsRect(240, 120, 1200, kRecordRowHeight));
    m_genderList->setToolTip(T::genderHint);
    m_genderList->setAccessibleName(T::captionGender);
    m_genderList->setAccessibleDescription(T::genderHint);

    FieldBinding::bind(*m_record, kCode, code);
    FieldBinding::bind(*m_record, QStringLiteral("FName"), firstName);
    FieldBinding::bind(*m_record, QStringLiteral("LName"), lastName);
    FieldBinding::bind(*m_record, QStringLiteral("Sen"), age);
    FieldBinding::bind(*m_record, QStringLiteral("Jens"), m_gender);
    FieldBinding::bind(*m_record, QStringLiteral("Jens"), m_genderList);
    FieldBinding::bind(*m_record, QStringLiteral("Taahol"), marital);
    FieldBinding::bind(*m_record, QStringLiteral("Tahsil"), education);
    FieldBinding::bind(*m_record, QStringLiteral("Date"), m_date);

    // Choosing from the list, or clicking an item, writes the gender field.
    connect(m_genderList, &QComboBox::currentTextChanged, m_gender, [this](const QString& text) {
        if (!text.isEmpty())
            m_gender->setText(text);
    });
    connect(m_genderList, &QComboBox::activated, m_gender,
            [this] { m_gender->setText(m_genderList->currentText()); });

    auto* save = addCommand(m_recordArea, QStringLiteral("Command8"), T::saveChanges, 3900, 1650, 1700);
    connect(save, &QPushButton::clicked, this, &FrmkLID::saveRecordChanges);
}

void FrmkLID::buildCommandBar()
{
    namespace T = ScoringTexts;
    m_commandBar = Skins::addPanel(this, QStringLiteral("Frame1"), twipsRect(315, 2235, 9495, 1155));
    constexpr int width = 2130;
    constexpr std::array<int, 4> left{7125, 4815, 2505, 195}; // right to left
    constexpr int row1 = 150;
    constexpr int row2 = 645;

    auto* choose =
        addCommand(m_commandBar, QStringLiteral("Command1"), T::chooseSubject, left[0], row1, width);
    auto* couple = addCommand(m_commandBar, QStringLiteral("Cmdzooj"), T::coupleChart, left[1], row1, width);
    auto* single = addCommand(m_commandBar, QStringLiteral("Command5"), T::singleChart, left[2], row1, width);
    auto* printAll = addCommand(m_commandBar, QStringLiteral("Command3"), T::printAll, left[0], row2, width);
    auto* printChosen =
        addCommand(m_commandBar, QStringLiteral("Command6"), T::printChosen, left[1], row2, width);
    auto* help = addCommand(m_commandBar, QStringLiteral("Command2"), T::help, left[2], row2, width);
    auto* exit = addCommand(m_commandBar, QStringLiteral("Command4"), T::close, left[3], row2, width);

    // The chosen code is set by the scoring only: the chart and the prints rely on it.
    m_chosenCode = new QLineEdit(m_commandBar);
    m_chosenCode->setObjectName(QStringLiteral("Text5"));
    m_chosenCode->setReadOnly(true);
    m_chosenCode->setGeometry(twipsRect(left[3], row1, 1000, kCommandHeight));
    addCaptionLabel(m_chosenCode, T::captionChosenCode,
                    twipsRect(left[3] + 1060, row1, 1070, kCommandHeight));

    connect(choose, &QPushButton::clicked, this, &FrmkLID::chooseAndScore);
    connect(couple, &QPushButton::clicked, this, &FrmkLID::compareCouple);
    connect(single, &QPushButton::clicked, this, &FrmkLID::showSingleChart);
    connect(printAll, &QPushButton::clicked, this, &FrmkLID::printAllSubjects);
    connect(printChosen, &QPushButton::clicked, this, &FrmkLID::printChosenSubject);
    connect(help, &QPushButton::clicked, this, [this] {
        m_helpPanel->show();
        m_helpPanel->raise();
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    auto* history = addCommand(this, QStringLiteral("CmdHistory"), T::historyCommand, 285 + left[0],
                               3420 + 1425 + 120, width);
    connect(history, &QPushButton::clicked, this, &FrmkLID::showHistory);

    m_checks = new QLabel(this);
    m_checks->setObjectName(QStringLiteral("administrationChecks"));
    // Three lines at most (entry, timings, flags) between the scores and the window's edge.
    m_checks->setGeometry(twipsRect(285, 3420 + 1425, 6960, 840));
    QFont small = m_checks->font();
    small.setPointSizeF(small.pointSizeF() - 2);
    m_checks->setFont(small);
    m_checks->setWordWrap(true);
    m_checks->setAlignment(Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignTop);
}

void FrmkLID::buildResultsArea()
{
    namespace T = ScoringTexts;
    m_resultsArea = Skins::addPanel(this, QStringLiteral("Frame3"), twipsRect(285, 3420, 9495, 1425));

    const std::array<QString, ScoringKey::kScaleCount> captions{T::needSurvival, T::needLove, T::needFreedom,
                                                                T::needPower, T::needFun};
    QFont scoreFont = font();
    scoreFont.setBold(true);
    scoreFont.setPointSize(scoreFont.pointSize() + 3);
    for (std::size_t i = 0; i < m_scoreBoxes.size(); ++i) {
        auto* box = new QLineEdit(m_resultsArea);
        box->setObjectName(QStringLiteral("Text") + QLatin1String(ScoringKey::kScales[i].field));
        box->setGeometry(twipsRect(kScoreBoxLeft[i], kScoreBoxTop, kScoreBoxWidth, kScoreBoxHeight));
        box->setAlignment(Qt::AlignCenter);
        box->setFont(scoreFont);
        // Scores are computed, never typed: a typed score would disagree with the answers.
        box->setReadOnly(true);
        auto* caption = addCaptionLabel(box, captions[i],
                                        twipsRect(kScoreBoxLeft[i] - 300, 120, kScoreBoxWidth + 600, 345));
        caption->setAlignment(Qt::AlignCenter);
        FieldBinding::bind(*m_scores, QLatin1String(ScoringKey::kScales[i].field), box);
        m_scoreBoxes[i] = box;
    }

    // The answer boxes carry the answers to the scoring; they lie below the area's visible part.
    for (int item = 1; item <= ScoringKey::kItemCount; ++item) {
        auto* box = new QLineEdit(m_resultsArea);
        box->setObjectName(QStringLiteral("Txt3_%1").arg(item));
        box->setGeometry(twipsRect(300 + ((item - 1) % 10) * 900, 1500 + ((item - 1) / 10) * 600, 800, 345));
        box->setAccessibleName(QString::number(item));
        box->hide();
        FieldBinding::bind(*m_answers, Database::itemColumn(item), box);
        m_answerBoxes[static_cast<std::size_t>(item - 1)] = box;
    }
}

void FrmkLID::buildHelpPanel()
{
    m_helpPanel = Skins::addPanel(this, QStringLiteral("Frame2"), twipsRect(1380, 570, 7635, 4485));
    auto* text = new QPlainTextEdit(m_helpPanel);
    text->setObjectName(QStringLiteral("Text21"));
    // Lines as written, right aligned as Persian reads; the editor keeps line ends as LF.
    QTextOption rightToLeft = text->document()->defaultTextOption();
    rightToLeft.setTextDirection(Qt::RightToLeft);
    rightToLeft.setAlignment(Qt::AlignRight);
    text->document()->setDefaultTextOption(rightToLeft);
    text->setPlainText(QString(ScoringTexts::helpText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text->setReadOnly(true);
    text->setAccessibleName(ScoringTexts::help);
    text->setGeometry(twipsRect(240, 240, 7155, 3540));
    auto* close =
        addCommand(m_helpPanel, QStringLiteral("Command7"), ScoringTexts::helpClose, 2880, 3900, 1875);
    connect(close, &QPushButton::clicked, m_helpPanel, &QWidget::hide);
    m_helpPanel->hide();
}

QLineEdit* FrmkLID::hiddenField(const QString& name)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->hide();
    return field;
}

void FrmkLID::buildHiddenCarriers()
{
    m_dataLine1 = hiddenField(QStringLiteral("Text9"));
    m_dataLine2 = hiddenField(QStringLiteral("Text14"));
    m_fullName = hiddenField(QStringLiteral("Text17"));
    for (std::size_t i = 0; i < m_coupleScores.size(); ++i)
        m_coupleScores[i] = hiddenField(QStringLiteral("Txtn1_%1").arg(i));
    FieldBinding::bind(*m_theme, QStringLiteral("Name"), hiddenField(QStringLiteral("Text13")));
    FieldBinding::bind(*m_theme, QStringLiteral("Adress"), hiddenField(QStringLiteral("Text16")));
}

QString FrmkLID::chosenCode() const
{
    return m_chosenCode->text();
}

QString FrmkLID::subject1Line() const
{
    return m_dataLine1->text();
}

QString FrmkLID::subject2Line() const
{
    return m_dataLine2->text();
}

QString FrmkLID::testDate() const
{
    return m_date->text();
}

ScoringKey::ScoreTexts FrmkLID::scoreBoxTexts() const
{
    ScoringKey::ScoreTexts texts;
    for (std::size_t i = 0; i < m_scoreBoxes.size(); ++i)
        texts[i] = m_scoreBoxes[i]->text();
    return texts;
}

bool FrmkLID::scoreCode(const QString& code, Run run)
{
    Prompts& prompts = *m_context.prompts;
    const bool single = run == Run::Single;
    const CoupleComparison::SubjectTexts coupleTexts =
        CoupleComparison::subjectTexts(run == Run::CoupleSecond ? 2 : 1);

    ScoringKey::ItemTexts items;
    if (!ScoringStore::selectAnswers(*m_answers, code, &items)) {
        if (single)
            prompts.notice(this, CommonTexts::noSuchSubject);
        else
            prompts.message(this, CommonTexts::plainTitle, coupleTexts.notFound, Prompts::Icon::None);
        m_resultsArea->hide();
        return false;
    }
    // Answers without a subject record have no row to take the scores: say so and store nothing,
    // leaving the subject on screen and the chosen code as they were.
    if (!ScoringStore::selectSubject(*m_subjectProbe, code)) {
        prompts.message(this, CommonTexts::warningTitle,
                        single ? ScoringTexts::noSubjectRecord : coupleTexts.noRecord,
                        Prompts::Icon::Exclamation);
        m_resultsArea->hide();
        return false;
    }
    const ScoringKey::SubjectRecord subject = ScoringStore::subjectRecord(*m_subjectProbe);
    ScoringStore::selectSubject(*m_record, code);
    m_recordCode = code;
    ScoringStore::selectSubject(*m_scores, code);

    const QString unanswered = ScoringKey::unansweredList(items);
    if (!unanswered.isEmpty()) {
        const QString& intro = single ? ScoringTexts::unansweredWarning : coupleTexts.unanswered;
        prompts.message(this, CommonTexts::warningTitle, intro + QStringLiteral("\r\n\r\n") + unanswered,
                        Prompts::Icon::Exclamation);
        if (!single)
            m_resultsArea->hide();
    }
    if (single)
        m_resultsArea->show();

    const QString line = ScoringKey::subjectDataLine(subject);
    if (run == Run::CoupleSecond)
        m_dataLine2->setText(coupleTexts.linePrefix + line);
    else
        m_dataLine1->setText(single ? line : coupleTexts.linePrefix + line);
    m_chosenCode->setText(code);
    m_chosenLine = line;
    AuditTrail::record(m_context, AuditTrail::Action::ScoresOpened, code, {}, this);

    const ScoringKey::ScoreTexts scores = ScoringKey::scoreTexts(items);
    for (std::size_t i = 0; i < scores.size(); ++i)
        m_scoreBoxes[i]->setText(scores[i]);
    // A failed write is said plainly rather than announced as stored; the scores stay on screen
    // and the run goes on, so a couple can still be charted.
    if (!ScoringStore::storeScores(*m_scores, scoreBoxTexts())) {
        prompts.message(this, CommonTexts::warningTitle,
                        single ? ScoringTexts::scoresNotStored : coupleTexts.notStored,
                        Prompts::Icon::Exclamation);
    } else if (single) {
        prompts.notice(this, ScoringTexts::scoredAndStored);
    }
    m_checks->setText(single
                          ? ScoringStore::administrationChecks(m_answers->database(), code, items).join(u'\n')
                          : QString());
    // The full name belongs to the chosen subject, in a couple the last one scored.
    m_fullName->setText(ScoringKey::fullName(subject));
    return true;
}

void FrmkLID::chooseAndScore()
{
    const QString code = withLatinDigits(
        m_context.prompts->askText(this, ScoringTexts::askCodeTitle, ScoringTexts::askCodePrompt, QString()));
    if (code.isEmpty()) {
        m_context.prompts->notice(this, CommonTexts::enterSubjectNumber);
        return;
    }
    scoreCode(code, Run::Single);
}

void FrmkLID::compareCouple()
{
    CoupleComparison::CoupleScores couple;
    for (const Run run : {Run::CoupleFirst, Run::CoupleSecond}) {
        const int number = run == Run::CoupleFirst ? 1 : 2;
        const QString code =
            withLatinDigits(m_context.prompts->askText(this, CoupleComparison::subjectTexts(number).askTitle,
                                                       ScoringTexts::askCoupleCodePrompt, QString()));
        if (code.isEmpty()) {
            m_context.prompts->notice(this, CommonTexts::enterSubjectNumber);
            return;
        }
        if (!scoreCode(code, run))
            return;
        const std::optional<ScoringKey::ScoreTexts> scores = chooseAdministration(code, number);
        if (!scores)
            return;
        CoupleComparison::copyScores(couple, number, *scores);
    }
    for (std::size_t i = 0; i < couple.size(); ++i)
        m_coupleScores[i]->setText(couple[i]);
    showChart(
        CoupleComparison::coupleChart(couple, m_dataLine1->text(), m_dataLine2->text(), m_date->text()));
}

std::optional<ScoringKey::ScoreTexts> FrmkLID::chooseAdministration(const QString& code, int number)
{
    // A partner with one administration, or whose history cannot be read, is compared by the
    // scores just computed, as always.
    const auto administrations =
        AdministrationStore::list(Database::connection(m_context.dataFolder, Database::File::Clinical), code);
    if (!administrations || administrations->size() < 2)
        return scoreBoxTexts();
    const QStringList labels = CoupleComparison::administrationLabels(*administrations);
    const int chosen =
        m_context.prompts->askItem(this, ScoringTexts::askAdministrationTitle.arg(number),
                                   ScoringTexts::askAdministrationPrompt, labels, int(labels.size()) - 1);
    if (chosen < 0)
        return std::nullopt;
    // The chart and its print say which administration of the partner they show.
    QLineEdit* line = number == 2 ? m_dataLine2 : m_dataLine1;
    line->setText(line->text() + ScoringTexts::administrationSeparator + labels.at(chosen));
    return CoupleComparison::administrationScores(administrations->at(chosen), scoreBoxTexts());
}

void FrmkLID::showSingleChart()
{
    if (m_chosenCode->text().isEmpty()) {
        m_context.prompts->notice(this, ScoringTexts::chooseFirstForChart, 2000);
        return;
    }
    // The chart and its print name the subject whose scores it draws.
    showChart(CoupleComparison::singleChart(scoreBoxTexts(), m_chosenLine, QString(), m_date->text()));
}

void FrmkLID::showHistory()
{
    if (m_chosenCode->text().isEmpty()) {
        m_context.prompts->notice(this, ScoringTexts::chooseFirstForChart, 2000);
        return;
    }
    m_context.navigator->openHistory(m_chosenCode->text(), m_chosenLine);
}

void FrmkLID::showChart(NeedsChartInput input)
{
    input.subjectCode = m_record->field(kCode);
    m_context.navigator->showNeedsChart(input);
}

void FrmkLID::printAllSubjects()
{
    // Every subject in the table's stored order, under the clinic's letterhead.
    m_context.navigator->printSubjectList(SubjectSelection{QString(), QString(), QString()}, true);
}

void FrmkLID::printChosenSubject()
{
    const QString code = m_chosenCode->text();
    if (code.isEmpty()) {
        m_context.prompts->notice(this, ScoringTexts::chooseFirstForPrint, 2000);
        return;
    }
    SubjectScoreReport::Sheet sheet;
    sheet.subject = ScoringStore::subjectRecord(*m_record); // as the record area shows it, edits included
    sheet.testDate = m_date->text();
    sheet.scores = scoreBoxTexts();
    ScoringStore::selectAnswers(*m_answers, code, &sheet.items);
    sheet.checks = ScoringStore::administrationChecks(m_answers->database(), code, sheet.items);
    // A subject who has taken the questionnaire more than once: the reliable change from the first
    // administration to the last goes on the sheet. A history that cannot be read leaves the sheet
    // as it was; a cancelled estimate cancels the print.
    const auto administrations =
        AdministrationStore::list(Database::connection(m_context.dataFolder, Database::File::Clinical), code);
    if (administrations && administrations->size() >= 2) {
        const std::optional<ChangeTable::Estimate> estimate = EstimateProgress::waitFor(m_context, this);
        if (!estimate)
            return;
        const auto label = [](const AdministrationStore::Administration& a) {
            return ScoringTexts::administrationLabel.arg(a.sequence).arg(a.start.date);
        };
        const AdministrationStore::Administration& first = administrations->constFirst();
        const AdministrationStore::Administration& last = administrations->constLast();
        sheet.change = SubjectScoreReport::ChangeSection{
            ScoringTexts::reportChangeHeading.arg(label(first), label(last)),
            ChangeTable::rows(first.answers, last.answers, *estimate), ChangeTable::basis(*estimate)};
    }
    AuditTrail::record(m_context, AuditTrail::Action::Printed, code, AuditTexts::scoreSheetDetail, this);
    ReportPreview::show(this, SubjectScoreReport::build(sheet, m_context.navigator->clinicTexts()),
                        *m_context.prompts);
    // A new choice is needed before the next chart or print.
    m_chosenCode->clear();
}

void FrmkLID::saveRecordChanges()
{
    switch (ScoringStore::saveRecord(*m_record, m_recordCode)) {
    case ScoringStore::RecordSave::Saved:
        break;
    case ScoringStore::RecordSave::CodeEmpty:
        m_context.prompts->notice(this, CommonTexts::enterCode);
        return;
    case ScoringStore::RecordSave::CodeTaken:
        m_context.prompts->notice(this, CommonTexts::codeTaken);
        return;
    case ScoringStore::RecordSave::Failed:
        // The typed edits stay on screen; nothing is claimed as stored.
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   ScoringTexts::changesNotSaved + m_record->failureNote(),
                                   Prompts::Icon::Exclamation);
        return;
    }
    const QString code = m_record->field(QStringLiteral("Code"));
    AuditTrail::record(m_context, AuditTrail::Action::RecordChanged, code,
                       code != m_recordCode ? AuditTexts::codeChangedDetail(m_recordCode)
                                            : AuditTexts::subjectRecordDetail,
                       this);
    if (code != m_recordCode) {
        // The chart and the prints go on with the subject under its new code.
        if (m_chosenCode->text() == m_recordCode)
            m_chosenCode->setText(code);
        m_recordCode = code;
    }
    m_context.prompts->notice(this, CommonTexts::changesSaved);
}

void FrmkLID::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_closeReported)
        return;
    m_closeReported = true;
    m_context.navigator->scoringClosed();
}
