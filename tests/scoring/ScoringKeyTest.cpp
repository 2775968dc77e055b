#include "scoring/ScoringKey.h"
#include "common/NumericValue.h"

#include <QLocale>
#include <QtTest>

using ScoringKey::ItemTexts;

namespace {
ItemTexts allItems(const QString& text)
{
    ItemTexts items;
    items.fill(text);
    return items;
}
} // namespace

class ScoringKeyTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formatsScoresWithTheHashPattern_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QString>("text");
        QTest::newRow("24/7") << 24.0 / 7 << QStringLiteral("3.43");
        QTest::newRow("28/7 whole") << 28.0 / 7 << QStringLiteral("4.");
        QTest::newRow("zero is the point alone") << 0.0 << QStringLiteral(".");
        QTest::newRow("no leading zero") << 0.5 << QStringLiteral(".5");
        QTest::newRow("1/7") << 1.0 / 7 << QStringLiteral(".14");
        QTest::newRow("6/7") << 6.0 / 7 << QStringLiteral(".86");
        QTest::newRow("highest") << 35.0 / 7 << QStringLiteral("5.");
        QTest::newRow("rounding carries into the integer") << 3.999 << QStringLiteral("4.");
        QTest::newRow("one trailing zero dropped") << 2.5 << QStringLiteral("2.5");
        QTest::newRow("no grouping") << 1234567.891 << QStringLiteral("1234567.89");
        QTest::newRow("below one hundredth") << 0.004 << QStringLiteral(".");
        QTest::newRow("negative") << -0.5 << QStringLiteral("-.5");
    }
    void formatsScoresWithTheHashPattern()
    {
        QFETCH(double, score);
        QFETCH(QString, text);
        QCOMPARE(ScoringKey::scoreText(score), text);
    }

    // Answers of hundreds of digits (a hand-edited file) give the digits of their mean, never an
    // infinity or an exponent.
    void hugeAnswersGiveThePlainDigitsOfTheirMean()
    {
        QCOMPARE(ScoringKey::scoreText(9007199254740994.0), QStringLiteral("9007199254740994."));
        QCOMPARE(ScoringKey::scoreText(-1e20), QStringLiteral("-100000000000000000000."));
        for (const QString& answer : {QStringLiteral("2") + QString(306, u'0'), QString(400, u'9')}) {
            const QString text = ScoringKey::scoreTexts(allItems(answer)).at(0);
            QVERIFY2(text.size() > 300 && text.endsWith(u'.'), qPrintable(text));
            QCOMPARE(text.left(text.size() - 1).count(QRegularExpression(QStringLiteral("[^0-9]"))), 0);
            QCOMPARE(numericValue(text), numericValue(answer));
        }
    }

    // The chart reads score texts back with the numeric value, which stops at anything but ".": a
    // locale separator would put every chart point on a whole number.
    void writesAPointWhateverTheLocaleAndTheChartReadsItBack_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("Persian") << QLocale(QLocale::Persian, QLocale::Iran);
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::SaudiArabia);
    }
    void writesAPointWhateverTheLocaleAndTheChartReadsItBack()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        QVERIFY(QLocale().decimalPoint() != QStringLiteral("."));
        ItemTexts items = allItems(QStringLiteral("3"));
        items[0] = QStringLiteral("5"); // S: 5 + 6 × 3 = 23 → 23/7
        const ScoringKey::ScoreTexts scores = ScoringKey::scoreTexts(items);
        QCOMPARE(scores[0], QStringLiteral("3.29"));
        QCOMPARE(scores[1], QStringLiteral("3."));
        QCOMPARE(numericValue(scores[0]), 3.29);
        QCOMPARE(ScoringKey::scoreText(0.0), QStringLiteral("."));
    }

    void eachItemCountsInExactlyOneScaleOfSevenConsecutiveItems()
    {
        for (int item = 1; item <= ScoringKey::kItemCount; ++item) {
            ItemTexts items = allItems(QString());
            items[static_cast<std::size_t>(item - 1)] = QStringLiteral("7");
            const ScoringKey::ScoreTexts scores = ScoringKey::scoreTexts(items);
            for (int scale = 0; scale < ScoringKey::kScaleCount; ++scale) {
                const QString expected = scale == (item - 1) / 7 ? QStringLiteral("1.") : QStringLiteral(".");
                QVERIFY2(scores[static_cast<std::size_t>(scale)] == expected,
                         qPrintable(QStringLiteral("item %1 scale %2").arg(item).arg(scale)));
            }
        }
    }

    void meanIsOfSevenEvenWhenItemsAreUnanswered()
    {
        ItemTexts items = allItems(QStringLiteral("4"));
        items[2].clear();  // item 3, scale S
        items[16].clear(); // item 17, scale F1
        const ScoringKey::ScoreTexts scores = ScoringKey::scoreTexts(items);
        QCOMPARE(scores[0], QStringLiteral("3.43")); // 24/7
        QCOMPARE(scores[1], QStringLiteral("4."));
        QCOMPARE(scores[2], QStringLiteral("3.43"));
        QCOMPARE(ScoringKey::scaleMean(items, ScoringKey::kScales[0]), 24.0 / 7);
    }

    void itemValueIsTheLeadingNumberOfTheStoredText()
    {
        ItemTexts items = allItems(QStringLiteral("x"));
        items[0] = QStringLiteral(" 5");
        items[1] = QStringLiteral("2.5abc");
        items[2] = QStringLiteral("0");
        QCOMPARE(ScoringKey::scaleMean(items, ScoringKey::kScales[0]), 7.5 / 7);
    }

    void listsUnansweredItemsWithTheirBlanks()
    {
        ItemTexts items = allItems(QStringLiteral("3"));
        QCOMPARE(ScoringKey::unansweredList(items), QString());
        items[2].clear();
        items[16].clear();
        QCOMPARE(ScoringKey::unansweredList(items), QStringLiteral(" 3   17  "));
        // "0" and a blank are answers; only an empty text is not.
        items[2] = QStringLiteral("0");
        items[34] = QStringLiteral(" ");
        QCOMPARE(ScoringKey::unansweredList(items), QStringLiteral(" 17  "));
        QString everyItem;
        for (int item = 1; item <= 35; ++item)
            everyItem += QStringLiteral(" %1  ").arg(item);
        QCOMPARE(ScoringKey::unansweredList(allItems(QString())), everyItem);
    }

    void composesTheSubjectDataLineWithItsSeparators()
    {
        ScoringKey::SubjectRecord subject{
            QStringLiteral("12"),  QStringLiteral("علي"),  QStringLiteral("احمدي"), QStringLiteral("30"),
            QStringLiteral("مرد"), QStringLiteral("مجرد"), QStringLiteral("ليسانس")};
        QCOMPARE(
            ScoringKey::subjectDataLine(subject),
            QStringLiteral("كد آزمودني: 12  -  نام و نام خانوادگي: علي احمدي  -  سن: 30  -  جنس: مرد  -  "
                           "وضعيت تاهل: مجرد  -  ميزان تحصيلات: ليسانس"));
        QCOMPARE(ScoringKey::fullName(subject), QStringLiteral("علي احمدي"));
        // Empty particulars keep every caption and separator.
        QCOMPARE(
            ScoringKey::subjectDataLine({}),
            QStringLiteral("كد آزمودني:   -  نام و نام خانوادگي:    -  سن:   -  جنس:   -  وضعيت تاهل:   -  "
                           "ميزان تحصيلات: "));
        // A Latin or signed value keeps its own reading order inside the Persian line.
        const QString lri(QChar(0x2066));
        const QString pdi(QChar(0x2069));
        ScoringKey::SubjectRecord latin{QStringLiteral("../x"),   QStringLiteral("Ali \"the great\""),
                                        QStringLiteral("Ahmadi"), QStringLiteral("+1"),
                                        QStringLiteral("مرد"),    QStringLiteral("مجرد"),
                                        QStringLiteral("=1+1")};
        QCOMPARE(ScoringKey::subjectDataLine(latin),
                 QStringLiteral("كد آزمودني: ") + lri + QStringLiteral("../x") + pdi +
                     QStringLiteral("  -  نام و نام خانوادگي: ") + lri + QStringLiteral("Ali \"the great\"") +
                     pdi + QStringLiteral(" Ahmadi  -  سن: ") + lri + QStringLiteral("+1") + pdi +
                     QStringLiteral("  -  جنس: مرد  -  وضعيت تاهل: مجرد  -  ميزان تحصيلات: ") + lri +
                     QStringLiteral("=1+1") + pdi);
    }
};

QTEST_GUILESS_MAIN(ScoringKeyTest)
#include "ScoringKeyTest.moc"
