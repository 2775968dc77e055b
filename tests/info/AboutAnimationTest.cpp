#include "info/AboutAnimation.h"

#include <QQueue>
#include <QtTest>

namespace {

const QStringList kTexts = {QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("t3"),
                            QStringLiteral("t4"), QStringLiteral("t5"), QStringLiteral("t6"),
                            QStringLiteral("t7"), QStringLiteral("t8")};
const QString kCredit = QStringLiteral("made by Velmora");

// Ticks until a label goes back down (at most `limit` ticks); returns it and the ticks taken.
std::pair<int, int> tickUntilRecycled(AboutAnimation& animation, int windowHeight, int limit = 1000)
{
    for (int tick = 1; tick <= limit; ++tick) {
        const int label = animation.scroll(windowHeight);
        if (label >= 0)
            return {label, tick};
    }
    return {-1, limit};
}

} // namespace

class AboutAnimationTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTextsOneToFourAtTheirPlaces()
    {
        const AboutAnimation animation(kTexts, kCredit);
        for (int label = 0; label < 4; ++label) {
            QCOMPARE(animation.labelText(label), kTexts.at(label));
            QCOMPARE(animation.labelTop(label), AboutAnimation::kStartTops.at(label));
        }
        QCOMPARE(animation.position(), 4);
        QCOMPARE(animation.aboutText(9), QString());
        QCOMPARE(animation.aboutText(11), QString());
    }

    void recycledLabelsShowTextsFiveToEightThenAGapThenStartOver()
    {
        AboutAnimation animation(kTexts, kCredit);
        QStringList shown;
        QList<int> labels;
        for (int recycle = 0; recycle < 10; ++recycle) {
            const auto [label, ticks] = tickUntilRecycled(animation, 7500);
            QVERIFY(label >= 0);
            labels << label;
            shown << animation.labelText(label);
        }
        QCOMPARE(shown, QStringList({"t5", "t6", "t7", "t8", "", "t1", "t2", "t3", "t4", "t5"}));
        // The labels take their turns in the order they reach the top.
        QCOMPARE(labels, QList<int>({0, 1, 2, 3, 0, 1, 2, 3, 0, 1}));
    }

    void labelGoesBackOnlyAtTheRecycleLineTo1500AboveTheBottom_data()
    {
        QTest::addColumn<int>("windowHeight");
        QTest::newRow("about window") << 7500;
        QTest::newRow("taller window") << 9990;
    }
    void labelGoesBackOnlyAtTheRecycleLineTo1500AboveTheBottom()
    {
        QFETCH(int, windowHeight);
        AboutAnimation animation(kTexts, kCredit);
        // Label1 starts at 1920 and moves 15 per tick: after 61 ticks it is at 1005, after 62 at 990.
        const auto [label, ticks] = tickUntilRecycled(animation, windowHeight);
        QCOMPARE(label, 0);
        QCOMPARE(ticks, 63);
        // Placed 1500 above the bottom, then moved up with the others in the same tick.
        QCOMPARE(animation.labelTop(0), windowHeight - 1500 - 15);
        QCOMPARE(animation.labelTop(1), 2640 - 63 * 15);
    }

    void firstLabelRepeatsItsEightColoursAndThirdTakesDrawnRedGreenBlue()
    {
        QQueue<double> draws;
        AboutAnimation animation(kTexts, kCredit,
                                 [&draws] { return draws.isEmpty() ? 0.0 : draws.dequeue(); });
        const QList<QColor> palette = {QColor(0, 0, 0),     QColor(0, 128, 0),     QColor(128, 0, 0),
                                       QColor(128, 128, 0), QColor(128, 128, 128), QColor(0, 255, 0),
                                       QColor(255, 0, 0),   QColor(255, 255, 0)};
        QList<QColor> firstColours;
        for (int tick = 0; tick < 16; ++tick) {
            draws << 0.5 << 2.5 / 255 << 0.999;
            const AboutAnimation::Colours colours = animation.nextColours();
            firstColours << colours.first;
            QCOMPARE(colours.third, QColor(128, 2, 255));
        }
        QCOMPARE(firstColours.mid(0, 8), palette);
        QCOMPARE(firstColours.mid(8, 8), palette);
    }

    void colourComponentsRoundHalvesToTheEvenNeighbour()
    {
        QCOMPARE(AboutAnimation::colourComponent(0.0), 0);
        QCOMPARE(AboutAnimation::colourComponent(0.5 / 255), 0);
        QCOMPARE(AboutAnimation::colourComponent(1.5 / 255), 2);
        QCOMPARE(AboutAnimation::colourComponent(2.5 / 255), 2);
        QCOMPARE(AboutAnimation::colourComponent(0.5), 128); // 127.5
        QCOMPARE(AboutAnimation::colourComponent(0.9999), 255);
    }

    void creditLineAssemblesWithoutEverGrowing()
    {
        AboutAnimation animation(kTexts, kCredit);
        const QString spread = animation.creditText();
        QCOMPARE(spread, AboutAnimation::spreadCredit(kCredit));
        QVERIFY(spread.startsWith(QStringLiteral("m   a   d   e   .   b")));
        QVERIFY(!animation.creditAssembled());

        const qsizetype blanks = spread.count(u' ');
        const qsizetype points = spread.count(u'.');
        int changes = 0;
        int shrinks = 0;
        for (int tick = 0; tick < 500 && !animation.creditAssembled(); ++tick) {
            const qsizetype before = animation.creditText().size();
            if (animation.assembleCredit())
                ++changes;
            const qsizetype after = animation.creditText().size();
            QVERIFY(after <= before);
            if (after < before)
                ++shrinks;
        }
        QVERIFY(animation.creditAssembled());
        QCOMPARE(animation.creditText(), kCredit);
        // One blank removed per tick, then one point turned into a blank per tick.
        QCOMPARE(shrinks, blanks);
        QCOMPARE(changes, blanks + points);
        QVERIFY(!animation.assembleCredit());
        QCOMPARE(animation.creditText(), kCredit);
    }

    void creditAssemblyRemovesTheLeftmostBlankFirst()
    {
        AboutAnimation animation(kTexts, QStringLiteral("ab"));
        QCOMPARE(animation.creditText(), QStringLiteral("a   b"));
        QVERIFY(animation.assembleCredit());
        QCOMPARE(animation.creditText(), QStringLiteral("a  b"));
    }
};

QTEST_GUILESS_MAIN(AboutAnimationTest)
#include "AboutAnimationTest.moc"
