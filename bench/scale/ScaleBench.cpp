// Times every command a clinician runs on a large DABSH.skn, through the windows themselves with
// prompts that answer at once: the main window's views read again on activation, the code lookup
// of each window, the code proposal, the scoring and storing of one subject, the finder's opening
// and filters, the print of one group of 10,000 to PDF and the export of the whole table.
// Prints the medians in milliseconds; run it at two sizes to see how each grows:
//   build/bench/bench_scale 100000
//   build/bench/bench_scale 1000000 [program folder filled by bench_fill_subjects]
// Not a test.

#include "BenchFakes.h"
#include "BenchSupport.h"
#include "common/AppContext.h"
#include "common/Clock.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "export/SubjectExport.h"
#include "mainwindow/Frm1.h"
#include "mainwindow/FrmCode.h"
#include "mainwindow/SubjectListModel.h"
#include "reports/ReportRenderer.h"
#include "reports/SubjectListReport.h"
#include "scoring/FrmkLID.h"
#include "testing/FrmTest.h"
#include "testing/Frmpas2.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <vector>

namespace {

constexpr int kRuns = 21;

int gSubjects = 100000;

QString codeOfRun(int run)
{
    return QString::number(1 + (static_cast<qint64>(run) * 7919 + 17) % gSubjects);
}

void click(QWidget& window, const char* name)
{
    window.findChild<QPushButton*>(QLatin1String(name))->click();
}

void report(const char* what, double ms)
{
    std::printf("%-58s %9.2f ms\n", what, ms);
    std::fflush(stdout);
}

int subjectCount(const QString& folder)
{
    QSqlQuery query(Database::connection(folder, Database::File::Clinical));
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM IDE")) && query.next() ? query.value(0).toInt()
                                                                                  : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    gSubjects = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.path();
    if (gSubjects <= 0 || !Database::openProgramDatabases(folder).ok)
        return 1;
    if (subjectCount(folder) == 0) {
        QElapsedTimer filling;
        filling.start();
        if (!BenchSupport::fillSubjects(folder, gSubjects) || !BenchSupport::varySubjects(folder, gSubjects))
            return 1;
        std::printf("filled %d subjects in %.1f s\n", gSubjects,
                    static_cast<double>(filling.elapsed()) / 1000.0);
    }
    gSubjects = subjectCount(folder);
    std::printf("subjects: %d, runs: %d (medians)\n", gSubjects, kRuns);

    InstantPrompts prompts;
    NoNavigator navigator;
    SystemClock clock;
    AppContext context{folder, folder, &prompts, nullptr, &navigator, &clock};

    {
        Frm1 main(context);
        main.show();
        report("main window: views read again on activation",
               BenchSupport::medianMilliseconds(kRuns, [&](int) { main.becameActive(); }));
        report("main window: test command's code lookup (and reading again)",
               BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   prompts.code = codeOfRun(run);
                   click(main, "Command2");
               }));
        report("registration: open with the code proposal", BenchSupport::medianMilliseconds(kRuns, [&](int) {
                   click(main, "Command1");
                   main.closePanels();
               }));
        DataView& proposal = *main.views().proposal;
        report("registration: duplicate code check on saving",
               BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   proposal.filterBy(QStringLiteral("code"), codeOfRun(run));
                   (void)proposal.count();
               }));
    }
    {
        Frmpas2 sheet(context);
        sheet.show();
        auto* code = sheet.findChild<QLineEdit*>(QStringLiteral("Text4"));
        report("answer sheet: code lookup", BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   code->setText(codeOfRun(run));
                   click(sheet, "Command3");
               }));
    }
    {
        FrmTest test(context);
        report("test window: code lookup", BenchSupport::medianMilliseconds(
                                               kRuns, [&](int run) { test.prepareForCode(codeOfRun(run)); }));
    }
    {
        FrmkLID scoring(context);
        report("scoring: look up, score and store one subject",
               BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   prompts.code = codeOfRun(run);
                   scoring.chooseAndScore();
               }));
    }
    {
        const auto typeInto = [](FrmCode& finder, const char* box, const QString& text) {
            finder.findChild<QComboBox*>(QLatin1String(box))->setEditText(text);
            (void)finder.grab(); // the picture the user sees
        };
        report("finder: open and draw", BenchSupport::medianMilliseconds(kRuns, [&](int) {
                   FrmCode finder(context);
                   finder.show();
                   (void)finder.grab();
               }));
        FrmCode finder(context);
        finder.show();
        report("finder's list: show every subject",
               BenchSupport::medianMilliseconds(kRuns, [&](int) { finder.list().show({}); }));
        report("finder's list: show group C", BenchSupport::medianMilliseconds(kRuns, [&](int) {
                   finder.list().show({QStringLiteral("Group"), QStringLiteral("C")});
               }));
        report("finder: filter by last name", BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   typeInto(finder, "DataCombo1", QStringLiteral("خانواده") + QString::number(run * 37));
               }));
        report("finder: filter by first name", BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   typeInto(finder, "DataCombo6", QStringLiteral("نام") + QString::number(run * 7));
               }));
        report("finder: filter by group", BenchSupport::medianMilliseconds(kRuns, [&](int run) {
                   typeInto(finder, "Combo3", QString(QChar(u'A' + run % 7)));
               }));
        report("finder: empty the group box, every subject again",
               BenchSupport::medianMilliseconds(kRuns, [&](int) {
                   typeInto(finder, "Combo3", QStringLiteral("C"));
                   typeInto(finder, "Combo3", QString());
               }));
        // Turning to a name box starts reading its list beside the window; the list follows.
        const auto turnTo = [&](const char* box, const QString& group) {
            FrmCode fresh(context);
            fresh.show();
            if (!group.isEmpty())
                typeInto(fresh, "Combo3", group);
            auto* combo = fresh.findChild<QComboBox*>(QLatin1String(box));
            QElapsedTimer timer;
            timer.start();
            QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(combo, &focus);
            const double turned = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            if (!QTest::qWaitFor([&] { return !fresh.isListing(); }, 60000))
                qWarning("the name list did not arrive within a minute");
            return std::pair{turned, static_cast<double>(timer.nsecsElapsed()) / 1e6};
        };
        for (const auto& [box, group, what] :
             {std::tuple{"DataCombo1", QString(), "finder: turn to the last-name box"},
              std::tuple{"DataCombo6", QStringLiteral("C"),
                         "finder: turn to the first-name box in a group"}}) {
            std::vector<double> turned, listed;
            for (int run = 0; run < 5; ++run) {
                const auto [t, l] = turnTo(box, group);
                turned.push_back(t);
                listed.push_back(l);
            }
            std::sort(turned.begin(), turned.end());
            std::sort(listed.begin(), listed.end());
            report(what, turned[2]);
            report("  its list read beside, ready after", listed[2]);
        }
    }
    {
        const SubjectSelection groupG{QStringLiteral("Group"), QStringLiteral("G"), QStringLiteral("Group")};
        const QString pdf = dir.filePath(QStringLiteral("group.pdf"));
        qsizetype printed = 0;
        report("print: read group G", BenchSupport::medianMilliseconds(3, [&](int) {
                   printed = SubjectListReport::selectedSubjects(folder, groupG).size();
               }));
        report("print: read, lay out and write group G to PDF", BenchSupport::medianMilliseconds(3, [&](int) {
                   if (!ReportRenderer::writePdf(
                           SubjectListReport::build(SubjectListReport::selectedSubjects(folder, groupG),
                                                    nullptr),
                           pdf))
                       std::printf("the print failed\n");
               }));
        std::printf("  (group G: %lld subjects, %.1f MB)\n", static_cast<long long>(printed),
                    static_cast<double>(QFileInfo(pdf).size()) / 1e6);
    }
    if (!qEnvironmentVariableIsSet("VELMORA_BENCH_SKIP_EXPORT")) {
        const QSqlDatabase database = Database::connection(folder, Database::File::Clinical);
        for (const char* suffix : {"csv", "xlsx"}) {
            const QString path = dir.filePath(QStringLiteral("export.") + QLatin1String(suffix));
            int written = 0;
            const double ms = BenchSupport::medianMilliseconds(
                1, [&](int) { written = SubjectExport::write(database, SubjectSelection{}, path).subjects; });
            std::printf("%-58s %9.2f ms  (%d subjects, %.1f MB)\n",
                        qPrintable(QStringLiteral("export: the whole table to .") + QLatin1String(suffix)),
                        ms, written, static_cast<double>(QFileInfo(path).size()) / 1e6);
        }
    }
    Database::closeProgramDatabases(folder);
    return 0;
}
