#include "TestProgramFolder.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/AnswerChecks.h"
#include "datastore/Database.h"
#include "history/FrmHistory.h"
#include "history/HistoryTexts.h"
#include "history/TrendChart.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportPreview.h"
#include "scoring/FrmkLID.h"
#include "scoring/ReliableChange.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

namespace T = HistoryTexts;
using AdministrationStore::Entry;

namespace {

QSqlDatabase clinical(TestProgramFolder& folder)
{
    return Database::connection(folder.path(), Database::File::Clinical);
}

// Answers that differ from subject to subject, the seven items of a scale near a level of the
// subject's own with some noise, so that every scale's alpha can be computed and is below 1.
QStringList answersFor(int subject, int administration)
{
    QStringList answers;
    for (int item = 1; item <= 35; ++item) {
        const int scale = (item - 1) / 7;
        const int level = (subject * (scale + 3)) % 5 + 1;
        const int noise = (subject * 7 + item * 13 + administration * 5) % 3 - 1;
        answers << QString::number(std::clamp(level + noise, 1, 5));
    }
    return answers;
}

QString text(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

    // A subject's administrations on the given Jalali dates, each answered as answersFor gives.
    void addAdministrations(TestProgramFolder& folder, const QString& code, int subject,
                            const QStringList& dates)
    {
        folder.addSubject(code);
        for (int i = 0; i < dates.size(); ++i) {
            if (i > 0)
                QVERIFY(AdministrationStore::startNew(
                    clinical(folder), code,
                    {dates.at(i), QStringLiteral("10:00:00"), Entry::PaperSheet, QStringLiteral("sara")}));
            folder.setAnswers(code, answersFor(subject, i));
        }
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void thePointsStandWhereTheirDatesFall()
    {
        const auto point = [](const QDate& date) { return TrendChart::Point{date, {}, {}}; };
        const QDate start(2023, 1, 1);
        QCOMPARE(TrendChart::positions({point(start), point(start.addDays(10)), point(start.addDays(100))}),
                 (QList<double>{0.0, 0.1, 1.0}));
        // Two on one day, or a date that is none, are spread evenly in the order taken.
        QCOMPARE(TrendChart::positions({point(start), point(start), point(start.addDays(5))}),
                 (QList<double>{0.0, 0.5, 1.0}));
        QCOMPARE(TrendChart::positions({point(start), point(QDate())}), (QList<double>{0.0, 1.0}));
        QCOMPARE(TrendChart::positions({point(start)}), QList<double>{0.5});
        // Jalali dates as stored become the axis's dates.
        AdministrationStore::Administration first;
        first.start.date = QStringLiteral("1402/02/13");
        AdministrationStore::Administration second;
        second.start.date = QStringLiteral(" 1402/12/30 "); // no such day in 1402
        const QList<TrendChart::Point> points = HistoryView::trendPoints({first, second});
        QCOMPARE(points.at(0).date, QDate(2023, 5, 3));
        QVERIFY(!points.at(1).date.isValid());
        QCOMPARE(points.at(1).dateText, QStringLiteral("1402/12/30"));
        QCOMPARE(HistoryView::datesText({first, second}), QStringLiteral("1402/02/13 - 1402/12/30"));
    }

    // A sheet entered twice that waits for its review, and a doubtful pattern, are named in the list;
    // the earlier administration shows neither.
    void theListTellsHowFarASheetGotAndItsDoubtfulPatterns()
    {
        TestProgramFolder folder;
        addAdministrations(folder, QStringLiteral("7"), 7,
                           {QStringLiteral("1402/01/10"), QStringLiteral("1402/03/10")});
        folder.setAnswers(QStringLiteral("7"), QStringList(35, QStringLiteral("3")));
        const std::optional<int> latest =
            AdministrationStore::latestSequence(clinical(folder), QStringLiteral("7"));
        QVERIFY(latest);
        AdministrationDetails::Details details;
        details.code = QStringLiteral("7");
        details.sequence = *latest;
        details.state = AdministrationDetails::EntryState::AwaitingReview;
        QVERIFY(AdministrationDetails::store(clinical(folder), details));

        FrmHistory window(folder.context(), QStringLiteral("7"), QStringLiteral("كد آزمودني: 7"));
        QVERIFY(window.load());
        auto* list = window.findChild<QTableWidget*>(QStringLiteral("administrations"));
        QCOMPARE(list->rowCount(), 2);
        const int flagsColumn = list->columnCount() - 1;
        QCOMPARE(text(list, 1, 3), T::paperSheet + T::entryStateSeparator + T::awaitingReview);
        QCOMPARE(text(list, 1, flagsColumn), T::flagSameShort);
        QCOMPARE(list->item(1, flagsColumn)->toolTip(),
                 AnswerChecks::flagsLine({AnswerChecks::Flag::SameAnswerEverywhere}));
        QVERIFY(list->item(1, 3)->toolTip().contains(
            AnswerChecks::stateName(AdministrationDetails::EntryState::AwaitingReview)));
        QCOMPARE(text(list, 0, 3), T::entryUnknown); // given before the history was kept
        QCOMPARE(text(list, 0, flagsColumn), QString());
    }

    // The list, the default pair (the first and the last), the change figures from the clinic's
    // own data, and a print with the letterhead.
    void theWindowListsChartsAndTellsReliableChange()
    {
        TestProgramFolder folder;
        addAdministrations(
            folder, QStringLiteral("1"), 1,
            {QStringLiteral("1402/01/10"), QStringLiteral("1402/03/10"), QStringLiteral("1402/09/01")});
        FrmHistory window(folder.context(), QStringLiteral("1"), QStringLiteral("كد آزمودني: 1"));
        QVERIFY(window.load());
        auto* list = window.findChild<QTableWidget*>(QStringLiteral("administrations"));
        QCOMPARE(list->rowCount(), 3);
        // The first was given before the history was kept: its date is the registration's.
        QCOMPARE(text(list, 0, 1), QStringLiteral("1402/02/13"));
        QCOMPARE(text(list, 2, 1), QStringLiteral("1402/09/01"));
        QCOMPARE(text(list, 2, 3), T::paperSheet);
        QCOMPARE(text(list, 2, 4), QStringLiteral("sara"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label_administrations"))->buddy(), list);
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("earlierAdministration"))->currentIndex(), 0);
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("laterAdministration"))->currentIndex(), 2);
        QTRY_VERIFY(!window.isEstimating());
        // Three administrations are far too few to estimate a reliability from.
        auto* change = window.findChild<QTableWidget*>(QStringLiteral("reliableChange"));
        QCOMPARE(text(change, 0, 5), ScoringTexts::notEnoughData);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("estimateBasis"))->text(),
                 ScoringTexts::needsAtLeast(ReliableChange::kMinimumAdministrations));

        // Thirty more subjects: now every scale has its figures, as the statistics give them.
        for (int subject = 2; subject <= 31; ++subject)
            addAdministrations(folder, QString::number(subject), subject, {QStringLiteral("1402/05/05")});
        FrmHistory again(folder.context(), QStringLiteral("1"), QStringLiteral("كد آزمودني: 1"));
        QVERIFY(again.load());
        again.choosePair(0, 1);
        QTRY_VERIFY(!again.isEstimating());
        const auto stored = AdministrationStore::allAnswers(clinical(folder));
        QVERIFY(stored);
        const QList<ScoringKey::ItemTexts> all = *stored;
        QCOMPARE(all.size(), 33);
        const ReliableChange::Norms norms = ReliableChange::norms(all);
        const auto expected = ReliableChange::changes(norms, again.administrations().at(0).answers,
                                                      again.administrations().at(1).answers);
        change = again.findChild<QTableWidget*>(QStringLiteral("reliableChange"));
        for (int scale = 0; scale < 5; ++scale) {
            QVERIFY(norms[scale].enough());
            QCOMPARE(text(change, scale, 4), QString::number(*expected[scale].index, 'f', 2));
            QCOMPARE(text(change, scale, 5), expected[scale].reliable()
                                                 ? (*expected[scale].index > 0 ? ScoringTexts::reliableRise
                                                                               : ScoringTexts::reliableFall)
                                                 : ScoringTexts::withinError);
        }

        // Nothing has changed since: the estimate kept from that reading is shown at once.
        FrmHistory third(folder.context(), QStringLiteral("1"), QStringLiteral("كد آزمودني: 1"));
        QVERIFY(third.load());
        QVERIFY(!third.isEstimating());
        third.choosePair(0, 1);
        QCOMPARE(text(third.findChild<QTableWidget*>(QStringLiteral("reliableChange")), 0, 4),
                 text(change, 0, 4));

        // The one-subject print carries the same change, from the first administration to the last.
        third.choosePair(0, 2);
        auto* shown = third.findChild<QTableWidget*>(QStringLiteral("reliableChange"));
        FrmkLID scoring(folder.context());
        folder.prompts.textAnswers.enqueue(QStringLiteral("1"));
        scoring.chooseAndScore();
        QList<Report> sheets;
        ReportPreview::setHandlerForTests([&sheets](const Report& report) { sheets << report; });
        scoring.printChosenSubject();
        QCOMPARE(sheets.size(), 1);
        const auto sheetText = [&](const QString& name) {
            const ReportElement* element = sheets.first().layout.element(ReportLayouts::detail, name);
            return element ? element->caption : QStringLiteral("<missing>");
        };
        QCOMPARE(sheetText(QStringLiteral("ChangeHeading")),
                 ScoringTexts::reportChangeHeading.arg(QStringLiteral("اجراي 1 (1402/02/13)"),
                                                       QStringLiteral("اجراي 3 (1402/09/01)")));
        for (int scale = 0; scale < 5; ++scale) {
            for (int column : {1, 2, 4, 5})
                QCOMPARE(sheetText(QStringLiteral("Change%1_%2").arg(scale + 1).arg(column)),
                         text(shown, scale, column));
        }

        QList<Report> printed;
        ReportPreview::setHandlerForTests([&printed](const Report& report) { printed << report; });
        again.printHistory();
        QCOMPARE(printed.size(), 1);
        const ReportLayout& layout = printed.first().layout;
        QCOMPARE(layout.element(ReportLayouts::detail, QStringLiteral("Label2"))->caption,
                 T::datesLine + QStringLiteral("\u20661402/02/13 - 1402/09/01\u2069"));
        QVERIFY(!layout.element(ReportLayouts::detail, QStringLiteral("Image2"))->picture.isNull());
    }

    void aCoupleIsComparedByTheAdministrationsChosen()
    {
        TestProgramFolder folder;
        addAdministrations(
            folder, QStringLiteral("1"), 1,
            {QStringLiteral("1402/02/13"), QStringLiteral("1402/05/20"), QStringLiteral("1402/09/01")});
        addAdministrations(folder, QStringLiteral("2"), 2, {QStringLiteral("1402/03/01")});
        const auto first = AdministrationStore::read(clinical(folder), QStringLiteral("1"), 1);
        QVERIFY(first);
        const ScoringKey::ScoreTexts earlier = ScoringKey::scoreTexts(first->answers);
        const auto itemsOf = [](const QStringList& answers) {
            ScoringKey::ItemTexts items;
            std::copy(answers.begin(), answers.end(), items.begin());
            return items;
        };
        const ScoringKey::ScoreTexts partner = ScoringKey::scoreTexts(itemsOf(answersFor(2, 0)));

        FrmkLID scoring(folder.context());
        // The first partner's first administration; the second partner has only one: no question.
        folder.prompts.textAnswers << QStringLiteral("1") << QStringLiteral("2");
        folder.prompts.choiceAnswers << 0;
        scoring.compareCouple();
        QCOMPARE(folder.prompts.lastChoices,
                 (QStringList{QStringLiteral("اجراي 1 (1402/02/13)"), QStringLiteral("اجراي 2 (1402/05/20)"),
                              QStringLiteral("اجراي 3 (1402/09/01)")}));
        QCOMPARE(folder.prompts.lastItemCurrent, 2); // the latest by default
        const NeedsChartInput& chart = folder.navigator.lastChart;
        for (std::size_t i = 0; i < 5; ++i) {
            QCOMPARE(chart.subject1Scores[i], earlier[i]);
            QCOMPARE(chart.subject2Scores[i], partner[i]);
        }
        QVERIFY(chart.subject1Line.endsWith(QStringLiteral(" - اجراي 1 (1402/02/13)")));
        // The latest administration's stored scores are the ones it has, whatever was compared.
        QCOMPARE(AdministrationStore::list(clinical(folder), QStringLiteral("1"))->constLast().scores,
                 ScoringKey::scoreTexts(itemsOf(answersFor(1, 2))));

        // A cancelled choice draws no chart.
        const int charts = int(folder.navigator.calls.count(QStringLiteral("showNeedsChart")));
        folder.prompts.textAnswers << QStringLiteral("1");
        scoring.compareCouple();
        QCOMPARE(int(folder.navigator.calls.count(QStringLiteral("showNeedsChart"))), charts);
    }

    void aSubjectWithoutAnswersHasNoHistoryToShow()
    {
        TestProgramFolder folder;
        folder.addSubject(QStringLiteral("5"));
        FrmHistory window(folder.context(), QStringLiteral("5"), {});
        QVERIFY(!window.load());
        QCOMPARE(folder.prompts.shown.constLast().text, T::noAdministrations);
    }
};

QTEST_MAIN(HistoryTest)
#include "HistoryTest.moc"
