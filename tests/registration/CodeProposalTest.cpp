#include "mainwindow/CodeProposal.h"

#include <QSet>
#include <QtTest>

class CodeProposalTest : public QObject
{
    Q_OBJECT

    static QString propose(const std::optional<QString>& last, const QStringList& stored)
    {
        const QSet<QString> taken(stored.cbegin(), stored.cend());
        return proposeCode(last, [&taken](const QString& code) { return taken.contains(code); });
    }

private slots:
    void noStoredSubjectLeavesTheCodeEmpty() { QCOMPARE(propose(std::nullopt, {}), QString()); }

    void proposesOneAboveTheLastStoredCode()
    {
        QCOMPARE(propose(QStringLiteral("3"), {"1", "2", "3"}), QStringLiteral("4"));
        QCOMPARE(propose(QStringLiteral("007"), {"007"}), QStringLiteral("8"));
    }

    void skipsProposalsThatAreTakenAlready()
    {
        QCOMPARE(propose(QStringLiteral("4"), {"1", "5", "4"}), QStringLiteral("6"));
        QCOMPARE(propose(QStringLiteral("4"), {"4", "5", "6", "7", "9"}), QStringLiteral("8"));
    }

    void lastCodeCountsOnFromItsLeadingNumber()
    {
        QCOMPARE(propose(QStringLiteral("12a"), {"12a"}), QStringLiteral("13"));
        QCOMPARE(propose(QStringLiteral("12a"), {"12a", "13", "14"}), QStringLiteral("15"));
        QCOMPARE(propose(QStringLiteral("-3"), {"-3"}), QStringLiteral("-2"));
    }

    void lastCodeWithoutLeadingNumberCountsAsZero()
    {
        QCOMPARE(propose(QStringLiteral("abc"), {"abc"}), QStringLiteral("1"));
        QCOMPARE(propose(QStringLiteral("x12"), {"1", "2", "x12"}), QStringLiteral("3"));
    }

    void onlyTheExactTextCountsAsTaken()
    {
        // A stored " 5" is another text than "5", so 5 is still free.
        QCOMPARE(propose(QStringLiteral("4"), {"4", " 5", "05"}), QStringLiteral("5"));
    }

    void codeTooLargeToCountOnGivesNoProposalInsteadOfRunningForever()
    {
        QCOMPARE(propose(QStringLiteral("99999999999999999999"), {}), QString());
        QCOMPARE(propose(QStringLiteral("123456789012"), {}), QStringLiteral("123456789013"));
    }

    // A fraction is kept, written out in full however many digits precede it.
    void proposalIsAPlainDecimalNeverAnExponent()
    {
        QCOMPARE(propose(QStringLiteral("12.5"), {}), QStringLiteral("13.5"));
        QCOMPARE(propose(QStringLiteral("2222252222222222.5"), {}), QStringLiteral("2222252222222223.5"));
        QCOMPARE(propose(QStringLiteral("222225222222222.25"), {"222225222222223.25"}),
                 QStringLiteral("222225222222224.25"));
        QCOMPARE(decimalCodeText(1e20), QStringLiteral("100000000000000000000"));
        QCOMPARE(decimalCodeText(0.000001), QStringLiteral("0.000001"));
    }
};

QTEST_GUILESS_MAIN(CodeProposalTest)
#include "CodeProposalTest.moc"
