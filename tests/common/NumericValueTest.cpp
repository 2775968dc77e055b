#include "common/NumericValue.h"
#include "common/Twips.h"

#include <QtTest>

#include <limits>

class NumericValueTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheNumberAtTheStartOfAText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("plain") << QStringLiteral("42") << 42.0;
        QTest::newRow("fraction") << QStringLiteral("3.43") << 3.43;
        QTest::newRow("score ending in point") << QStringLiteral("4.") << 4.0;
        QTest::newRow("point alone") << QStringLiteral(".") << 0.0;
        QTest::newRow("leading fraction") << QStringLiteral(".5") << 0.5;
        QTest::newRow("blanks skipped everywhere") << QStringLiteral(" 1 2\t3\n4") << 1234.0;
        QTest::newRow("stops at letter") << QStringLiteral("12abc3") << 12.0;
        QTest::newRow("stops at second point") << QStringLiteral("1.2.3") << 1.2;
        QTest::newRow("stops at comma separator") << QStringLiteral("3,43") << 3.0;
        QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
        QTest::newRow("negative") << QStringLiteral("-1") << -1.0;
        QTest::newRow("sign after blank") << QStringLiteral(" - 2") << -2.0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
        QTest::newRow("sign only at the start") << QStringLiteral("5-3") << 5.0;
        QTest::newRow("persian digits are not decimal digits") << QStringLiteral("۱۲") << 0.0;
        QTest::newRow("leading zeros") << QStringLiteral("007") << 7.0;
    }
    void readsTheNumberAtTheStartOfAText()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(numericValue(text), value);
    }

    void wholeValueDropsTheFraction()
    {
        QCOMPARE(wholeNumericValue(QStringLiteral("12.9")), 12LL);
        QCOMPARE(wholeNumericValue(QStringLiteral("-3.5")), -3LL);
        QCOMPARE(wholeNumericValue(QStringLiteral("x")), 0LL);
    }

    // Digits beyond what a double or a long long holds still give a finite, ordered value.
    void hugeNumbersStayFiniteAndKeepTheirSign()
    {
        const QString digits400(400, u'9');
        QCOMPARE(numericValue(digits400), std::numeric_limits<double>::max());
        QCOMPARE(numericValue(u'-' + digits400), -std::numeric_limits<double>::max());
        QCOMPARE(numericValue(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
        constexpr long long limit = 9007199254740992LL;                            // 2^53
        QCOMPARE(wholeNumericValue(QStringLiteral("9223372036854775808")), limit); // 2^63
        QCOMPARE(wholeNumericValue(u'-' + digits400), -limit);
        QCOMPARE(wholeNumericValue(QStringLiteral("4503599627370495.5")), 4503599627370495LL);
    }

    void convertsTwipsToPixelsAtNinetySixDpi()
    {
        QCOMPARE(twipsToPixels(15), 1);
        QCOMPARE(twipsToPixels(1440), 96);
        QCOMPARE(twipsToPixels(2085), 139);
        QCOMPARE(twipsToPixels(7), 0);
        QCOMPARE(twipsToPixels(8), 1);
        QCOMPARE(twipsRect(3015, 1080, 3690, 2415), QRect(201, 72, 246, 161));
    }
};

QTEST_GUILESS_MAIN(NumericValueTest)
#include "NumericValueTest.moc"
