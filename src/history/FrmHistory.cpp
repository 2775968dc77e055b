#include "FrmHistory.h"

#include "HistoryReport.h"
#include "HistoryTexts.h"
#include "audit/AuditTrail.h"
#include "calendar/ShamsiDate.h"
#include "common/CaptionLabel.h"
#include "common/Navigator.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/AnswerChecks.h"
#include "datastore/Database.h"
#include "datastore/DatastoreTexts.h"
#include "reports/ReportPreview.h"
#include "scoring/ChangeTable.h"
#include "scoring/ReliabilityEstimate.h"
#include "scoring/ScoringKey.h"
#include "widgets/WindowSkin.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTableWidget>

namespace T = HistoryTexts;
using AdministrationStore::Administration;

namespace HistoryView {

std::array<double, 5> scaleScores(const Administration& administration)
{
    std::array<double, 5> scores{};
    for (std::size_t i = 0; i < scores.size(); ++i)
        scores[i] = ScoringKey::scaleMean(administration.answers, ScoringKey::kScales[i]);
    return scores;
}

QList<TrendChart::Point> trendPoints(const QList<Administration>& administrations)
{
    QList<TrendChart::Point> points;
    for (const Administration& administration : administrations) {
        TrendChart::Point point;
        point.dateText = administration.start.date.trimmed();
        const QStringList parts = point.dateText.split(u'/');
        if (parts.size() == 3)
            point.date = fromJalali(JalaliDate{parts[0].toInt(), parts[1].toInt(), parts[2].toInt()});
        point.scores = scaleScores(administration);
        points << point;
    }
    return points;
}

QString datesText(const QList<Administration>& administrations)
{
    if (administrations.isEmpty())
        return {};
    const QString first = administrations.first().start.date.trimmed();
    const QString last = administrations.last().start.date.trimmed();
    return administrations.size() == 1 ? first : first + QStringLiteral(" - ") + last;
}

QString entryText(AdministrationStore::Entry entry)
{
    switch (entry) {
    case AdministrationStore::Entry::OnScreen:
        return T::onScreen;
    case AdministrationStore::Entry::PaperSheet:
        return T::paperSheet;
    case AdministrationStore::Entry::Unknown:
        break;
    }
    return T::entryUnknown;
}

QString flagsText(const QList<AnswerChecks::Flag>& flags)
{
    const auto shortName = [](AnswerChecks::Flag flag) {
        switch (flag) {
        case AnswerChecks::Flag::SameAnswerEverywhere:
            return T::flagSameShort;
        case AnswerChecks::Flag::LongRun:
            return T::flagRunShort;
        case AnswerChecks::Flag::FastCompletion:
            return T::flagFastShort;
        case AnswerChecks::Flag::ManyUnanswered:
            break;
        }
        return T::flagUnansweredShort;
    };
    QStringList names;
    for (const AnswerChecks::Flag flag : flags)
        names << shortName(flag);
    return names.join(DatastoreTexts::flagSeparator);
}

QString entryText(const AdministrationStore::Administration& administration,
                  const AdministrationDetails::Details& details)
{
    using AdministrationDetails::EntryState;
    const auto progress = [](EntryState state) -> QString {
        switch (state) {
        case EntryState::AwaitingSecond:
            return T::awaitingSecond;
        case EntryState::SecondUnderWay:
            return T::secondUnderWay;
        case EntryState::AwaitingReview:
            return T::awaitingReview;
        case EntryState::Verified:
            return T::verified;
        case EntryState::Once:
            break;
        }
        return {};
    }(details.state);
    const QString entry = entryText(administration.start.entry);
    return progress.isEmpty() ? entry : entry + T::entryStateSeparator + progress;
}

} // namespace HistoryView

namespace {

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget* addTable(QWidget* parent, const QString& name, const QStringList& headers,
                       const QRect& geometry)
{
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->setGeometry(geometry);
    return table;
}

} // namespace

FrmHistory::FrmHistory(const AppContext& context, const QString& code, const QString& subjectLine,
                       QWidget* parent)
    : QDialog(parent), m_context(context), m_code(code), m_subjectLine(subjectLine)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowTitle(T::windowTitle);
    setFixedSize(twipsSize(10500, 10800));

    auto* line = new QLabel(subjectLine, this);
    line->setObjectName(QStringLiteral("subjectLine"));
    line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    line->setGeometry(twipsRect(240, 120, 10020, 360));

    QStringList listHeaders{T::columnNumber, T::columnDate, T::columnTime, T::columnEntry, T::columnUser};
    for (const QString& scale : T::scaleNames)
        listHeaders << scale;
    listHeaders << T::columnFlags;
    m_list = addTable(this, QStringLiteral("administrations"), listHeaders, twipsRect(240, 870, 10020, 1650));
    addCaptionLabel(m_list, T::administrationsCaption, twipsRect(6260, 510, 4000, 330));
    // The dates and the other particulars whole; the scales share what is left.
    for (int column = 0; column < 5; ++column)
        m_list->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    m_list->horizontalHeader()->setSectionResizeMode(int(listHeaders.size()) - 1,
                                                     QHeaderView::ResizeToContents);

    m_chart = new TrendChartView(this);
    m_chart->setObjectName(QStringLiteral("trendChart"));
    m_chart->setGeometry(twipsRect(240, 2940, 10020, 3000));
    addCaptionLabel(m_chart, T::trendCaption, twipsRect(6260, 2580, 4000, 330));

    m_earlier = new QComboBox(this);
    m_earlier->setObjectName(QStringLiteral("earlierAdministration"));
    m_earlier->setGeometry(twipsRect(6960, 6060, 1800, 360));
    addCaptionLabel(m_earlier, T::earlierCaption, twipsRect(8820, 6060, 1440, 360));
    m_later = new QComboBox(this);
    m_later->setObjectName(QStringLiteral("laterAdministration"));
    m_later->setGeometry(twipsRect(3660, 6060, 1800, 360));
    addCaptionLabel(m_later, T::laterCaption, twipsRect(5520, 6060, 1380, 360));

    m_change = addTable(this, QStringLiteral("reliableChange"), ChangeTable::headers(),
                        twipsRect(240, 6840, 10020, 2900));
    m_change->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_change->horizontalHeader()->setSectionResizeMode(5, QHeaderView::ResizeToContents);
    addCaptionLabel(m_change, T::changeCaption, twipsRect(3260, 6510, 7000, 330));

    m_basis = new QLabel(this);
    m_basis->setObjectName(QStringLiteral("estimateBasis"));
    m_basis->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_basis->setGeometry(twipsRect(2400, 9800, 7860, 330));
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("estimateProgress"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setAccessibleName(T::estimating);
    m_busy->setGeometry(twipsRect(240, 9840, 2040, 250));
    m_busy->hide();

    auto* print = new QPushButton(T::print, this);
    print->setObjectName(QStringLiteral("printHistory"));
    print->setGeometry(twipsRect(8460, 10230, 1800, 420));
    auto* close = new QPushButton(T::close, this);
    close->setObjectName(QStringLiteral("closeHistory"));
    close->setGeometry(twipsRect(240, 10230, 1500, 420));
    connect(print, &QPushButton::clicked, this, &FrmHistory::printHistory);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox* box : {m_earlier, m_later})
        connect(box, &QComboBox::currentIndexChanged, this, &FrmHistory::showChange);
    m_progressTimer.setInterval(100);
    connect(&m_progressTimer, &QTimer::timeout, this, &FrmHistory::showProgress);

    Skins::applyCurrent(this, m_context);
}

FrmHistory::~FrmHistory()
{
    if (const std::shared_ptr<ReliabilityEstimate::Progress> progress = m_progress.lock())
        progress->stop = true;
}

bool FrmHistory::load()
{
    const QSqlDatabase db = Database::connection(m_context.dataFolder, Database::File::Clinical);
    const auto administrations = AdministrationStore::list(db, m_code);
    if (!administrations || administrations->isEmpty()) {
        m_context.prompts->message(parentWidget(), CommonTexts::attentionTitle,
                                   administrations ? T::noAdministrations : T::unreadable,
                                   administrations ? Prompts::Icon::None : Prompts::Icon::Exclamation, true);
        return false;
    }
    m_administrations = *administrations;
    // How each sheet was entered and its doubtful patterns; the scores are shown without them if
    // they cannot be read.
    m_details =
        AdministrationDetails::readSubject(db, m_code).value_or(QHash<int, AdministrationDetails::Details>());
    m_checkSettings = AdministrationDetails::readSettings(db);
    fillList();
    m_chart->setPoints(HistoryView::trendPoints(m_administrations));
    AuditTrail::record(m_context, AuditTrail::Action::ScoresOpened, m_code, T::windowTitle, this);
    startEstimate();
    return true;
}

void FrmHistory::fillList()
{
    m_list->setRowCount(int(m_administrations.size()));
    const QSignalBlocker blockEarlier(m_earlier);
    const QSignalBlocker blockLater(m_later);
    m_earlier->clear();
    m_later->clear();
    for (int row = 0; row < m_administrations.size(); ++row) {
        const Administration& administration = m_administrations.at(row);
        const QString number = QString::number(administration.sequence);
        m_list->setItem(row, 0, cell(number));
        m_list->setItem(row, 1, cell(administration.start.date));
        m_list->setItem(row, 2, cell(administration.start.time));
        AdministrationDetails::Details details = m_details.value(administration.sequence);
        details.code = administration.code;
        details.sequence = administration.sequence;
        QTableWidgetItem* entry = cell(HistoryView::entryText(administration, details));
        // The median time per item and the patterns in words, for a closer look.
        entry->setToolTip(
            AnswerChecks::summaryLines(administration.answers, details, m_checkSettings,
                                       administration.start.entry == AdministrationStore::Entry::OnScreen)
                .join(u'\n'));
        m_list->setItem(row, 3, entry);
        m_list->setItem(row, 4, cell(administration.start.user));
        const std::array<double, 5> scores = HistoryView::scaleScores(administration);
        for (std::size_t scale = 0; scale < scores.size(); ++scale)
            m_list->setItem(row, 5 + int(scale), cell(ScoringKey::scoreText(scores[scale])));
        const QList<AnswerChecks::Flag> raised =
            AnswerChecks::flags(administration.answers, details, m_checkSettings);
        QTableWidgetItem* flagged = cell(HistoryView::flagsText(raised));
        flagged->setToolTip(AnswerChecks::flagsLine(raised));
        m_list->setItem(row, 5 + int(scores.size()), flagged);
        const QString choice = number + QStringLiteral(" (") + administration.start.date + u')';
        m_earlier->addItem(choice);
        m_later->addItem(choice);
    }
    // The first and the last by default: the change over the whole programme.
    m_earlier->setCurrentIndex(0);
    m_later->setCurrentIndex(int(m_administrations.size()) - 1);
    showChange();
}

void FrmHistory::choosePair(int earlier, int later)
{
    m_earlier->setCurrentIndex(earlier);
    m_later->setCurrentIndex(later);
}

void FrmHistory::startEstimate()
{
    const QString connectionName = Database::connectionName(m_context.dataFolder, Database::File::Clinical);
    const QString mark =
        ReliabilityEstimate::dataMark(Database::connection(m_context.dataFolder, Database::File::Clinical));
    m_norms = ReliabilityEstimate::kept(connectionName, mark);
    if (m_norms) {
        m_basis->setText(ChangeTable::basis({false, m_norms}));
        showChange();
        return;
    }
    // Read beside the window; the bar fills as the administrations are read.
    auto progress = std::make_shared<ReliabilityEstimate::Progress>();
    m_progress = progress;
    m_busy->setRange(0, 0);
    m_busy->show();
    m_basis->setText(T::estimating);
    m_progressTimer.start();
    m_estimate.start([connectionName, mark,
                      progress] { return ReliabilityEstimate::read(connectionName, mark, progress); },
                     [this](const std::optional<ReliableChange::Norms>& norms) {
                         m_progressTimer.stop();
                         m_busy->hide();
                         m_norms = norms;
                         m_basis->setText(ChangeTable::basis({false, m_norms}));
                         showChange();
                     });
}

void FrmHistory::showProgress()
{
    const std::shared_ptr<ReliabilityEstimate::Progress> progress = m_progress.lock();
    if (!progress || progress->total <= 0)
        return;
    // The bar counts in thousands: a progress bar holds an int, a store may hold more.
    const qint64 total = progress->total;
    const qint64 scale = total > 1'000'000 ? 1000 : 1;
    m_busy->setRange(0, int(total / scale));
    m_busy->setValue(int(std::min(progress->read.load(), total) / scale));
}

void FrmHistory::showChange()
{
    const int earlier = m_earlier->currentIndex();
    const int later = m_later->currentIndex();
    m_change->setRowCount(ScoringKey::kScaleCount);
    if (earlier < 0 || later < 0 || earlier >= m_administrations.size() || later >= m_administrations.size())
        return;
    const ChangeTable::Rows rows =
        ChangeTable::rows(m_administrations.at(earlier).answers, m_administrations.at(later).answers,
                          {isEstimating(), m_norms});
    for (int scale = 0; scale < ScoringKey::kScaleCount; ++scale) {
        for (int column = 0; column < ChangeTable::kColumns; ++column)
            m_change->setItem(scale, column, cell(rows[std::size_t(scale)][std::size_t(column)]));
    }
}

void FrmHistory::printHistory()
{
    const ClinicTexts clinic = m_context.navigator ? m_context.navigator->clinicTexts() : ClinicTexts();
    const QImage chart = TrendChart::picture(m_chart->points(), QSize(1000, 560));
    const Report report =
        HistoryReport::build(m_subjectLine, HistoryView::datesText(m_administrations), clinic, chart);
    AuditTrail::record(m_context, AuditTrail::Action::Printed, m_code, T::windowTitle, this);
    ReportPreview::show(this, report, *m_context.prompts);
}
