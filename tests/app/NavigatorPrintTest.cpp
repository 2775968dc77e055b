#include "app/AppNavigator.h"
#include "TestProgramFolder.h"
#include "datastore/DataView.h"
#include "reports/ReportPreview.h"

#include <QtTest>

// The navigator's print of a subject list: the rows the caller selected, and the clinic's
// letterhead only when asked for.
class AppNavigatorTest : public QObject
{
    Q_OBJECT

private slots:
    void printsTheSelectedSubjectsWithOrWithoutTheLetterhead()
    {
        TestProgramFolder folder;
        const QStringList codes{QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2")};
        const QStringList groups{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")};
        for (int i = 0; i < codes.size(); ++i)
            folder.addSubject(codes[i]);
        {
            auto subjects = folder.view(QStringLiteral("IDE"));
            for (int i = 0; i < codes.size(); ++i) {
                QVERIFY(subjects->filterBy(QStringLiteral("Code"), codes[i]));
                QVERIFY(subjects->setField(QStringLiteral("Group"), groups[i]));
                QVERIFY(subjects->commit());
            }
            auto theme = folder.view(QStringLiteral("Theme"));
            QVERIFY(theme->setField(QStringLiteral("Name"), QStringLiteral("مرکز مشاوره آرامش")));
            QVERIFY(theme->setField(QStringLiteral("Adress"), QStringLiteral("تهران")));
            QVERIFY(theme->commit());
        }

        QList<Report> reports;
        ReportPreview::setHandlerForTests([&](const Report& report) { reports << report; });
        AppNavigator navigator(folder.context());
        navigator.start();
        navigator.printSubjectList({QStringLiteral("Group"), QStringLiteral("B"), QStringLiteral("Code")},
                                   false);
        navigator.printSubjectList({QString(), QString(), QString()}, true);
        ReportPreview::setHandlerForTests({});
        QCOMPARE(reports.size(), 2);

        auto printedCodes = [](const Report& report) {
            QStringList result;
            for (const ReportRow& row : report.rows)
                result << row.value(QStringLiteral("Code"));
            return result;
        };
        auto caption = [](const Report& report, const char* band, const char* name) {
            return report.layout.element(QLatin1String(band), QLatin1String(name))->caption;
        };
        QCOMPARE(printedCodes(reports[0]), (QStringList{"2", "3"}));
        QVERIFY(caption(reports[0], "Section4", "Label9").isEmpty());
        QVERIFY(caption(reports[0], "Section3", "Label8").isEmpty());
        QCOMPARE(printedCodes(reports[1]), codes);
        QCOMPARE(caption(reports[1], "Section4", "Label9"), QStringLiteral("مرکز مشاوره آرامش"));
        QCOMPARE(caption(reports[1], "Section3", "Label8"), QStringLiteral("تهران"));
    }
};

QTEST_MAIN(AppNavigatorTest)
#include "NavigatorPrintTest.moc"
