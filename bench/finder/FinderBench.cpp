// Times the subject finder on a DABSH.skn holding 100,000 subjects with 5,000 last names, 300 first
// names and the seven groups: opening the window until its first picture is drawn (views, grid,
// boxes), a search by last name and by group, a search lifted again, and the reading of a name
// list when the user turns to its box. Prints the medians in milliseconds; not a test: run
// build/bench/bench_finder by hand.

#include "BenchFakes.h"
#include "BenchSupport.h"
#include "common/AppContext.h"
#include "datastore/Database.h"
#include "mainwindow/FrmCode.h"
#include "mainwindow/SubjectListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubjects = 100000;
constexpr int kRuns = 21;

// The shared filler gives every subject the same names; a clinic has many.
bool varyNamesAndGroups(const QString& folder)
{
    QSqlQuery query(Database::connection(folder, Database::File::Clinical));
    return query.exec(QStringLiteral("UPDATE IDE SET LName = 'خانواده' || (rowid % 5000), "
                                     "FName = 'نام' || (rowid % 300), \"Group\" = char(65 + rowid % 7)"));
}

void typeInto(FrmCode& finder, const char* box, const QString& text)
{
    finder.findChild<QComboBox*>(QLatin1String(box))->setEditText(text);
}

} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!BenchSupport::openFilledFolder(folder, kSubjects))
        return 1;
    if (!varyNamesAndGroups(folder))
        return 1;

    InstantPrompts prompts;
    NoNavigator navigator;
    AppContext context{folder, folder, &prompts, nullptr, &navigator, nullptr};
    int shownRows = 0;
    const double open = BenchSupport::medianMilliseconds(kRuns, [&](int) {
        FrmCode finder(context);
        finder.show();
        (void)finder.grab(); // the first picture: header, the visible rows, the boxes
        shownRows = finder.list().rowCount();
    });

    int lastNameRows = 0;
    int groupRows = 0;
    double byLastName = 0;
    double byGroup = 0;
    double showAll = 0;
    {
        FrmCode finder(context);
        finder.show();
        byLastName = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
            typeInto(finder, "DataCombo1", QStringLiteral("خانواده") + QString::number(run * 37));
            (void)finder.grab();
            lastNameRows = finder.list().rowCount();
        });
        byGroup = BenchSupport::medianMilliseconds(kRuns, [&](int run) {
            typeInto(finder, "Combo3", QString(QChar(u'A' + run % 7)));
            (void)finder.grab();
            groupRows = finder.list().rowCount();
        });
        showAll = BenchSupport::medianMilliseconds(kRuns, [&](int) {
            typeInto(finder, "Combo3", QStringLiteral("C"));
            typeInto(finder, "Combo3", QString());
            (void)finder.grab();
        });
    }

    int lastNames = 0;
    int firstNames = 0;
    double allLastNames = 0;
    double groupFirstNames = 0;
    {
        const QSqlDatabase database = Database::connection(folder, Database::File::Clinical);
        allLastNames = BenchSupport::medianMilliseconds(kRuns, [&](int) {
            lastNames = static_cast<int>(subjectColumnValues(database, QStringLiteral("LName"), {}).size());
        });
        const SubjectSelection groupC{QStringLiteral("Group"), QStringLiteral("C"), QStringLiteral("Code")};
        groupFirstNames = BenchSupport::medianMilliseconds(kRuns, [&](int) {
            firstNames =
                static_cast<int>(subjectColumnValues(database, QStringLiteral("FName"), groupC).size());
        });
    }

    std::printf("subjects: %d, runs: %d (medians)\n", kSubjects, kRuns);
    std::printf("open the finder and draw it, %d rows: %.1f ms\n", shownRows, open);
    std::printf("search by last name and draw, %d rows: %.1f ms\n", lastNameRows, byLastName);
    std::printf("search by group and draw, %d rows: %.1f ms\n", groupRows, byGroup);
    std::printf("search by group, empty the box, draw all again: %.1f ms\n", showAll);
    std::printf("turn to the last-name box: list %d names: %.1f ms\n", lastNames, allLastNames);
    std::printf("turn to the first-name box in a group: list %d names: %.1f ms\n", firstNames,
                groupFirstNames);
    Database::closeProgramDatabases(folder);
    return 0;
}
