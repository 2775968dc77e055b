#include "charts/NeedsChartGeometry.h"

#include <QtTest>

namespace G = NeedsChartGeometry;

class NeedsChartGeometryTest : public QObject
{
    Q_OBJECT
private slots:
    void placesScoresOnTheScoreAxis_data()
    {
        QTest::addColumn<QString>("score");
        QTest::addColumn<double>("y");
        QTest::newRow("0") << QStringLiteral("0") << 5535.0;
        QTest::newRow("point alone") << QStringLiteral(".") << 5535.0;
        QTest::newRow("empty") << QString() << 5535.0;
        QTest::newRow("not a number") << QStringLiteral("abc") << 5535.0;
        QTest::newRow("3") << QStringLiteral("3.") << 2535.0;
        QTest::newRow("3.43") << QStringLiteral("3.43") << 2105.0;
        QTest::newRow(".14") << QStringLiteral(".14") << 5395.0;
        QTest::newRow("5") << QStringLiteral("5.") << 535.0;
        QTest::newRow("comma stops the number") << QStringLiteral("3,43") << 2535.0;
    }
    void placesScoresOnTheScoreAxis()
    {
        QFETCH(QString, score);
        QFETCH(double, y);
        QCOMPARE(G::scoreY(score), y);
    }

    void joinsTheFiveColumnsInOrder()
    {
        const auto segments = G::polyline({QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("3.43"),
                                           QStringLiteral("5"), QString()});
        QCOMPARE(segments[0], QLineF(2130, 5535, 4140, 2535));
        QCOMPARE(segments[1], QLineF(4140, 2535, 6150, 2105));
        QCOMPARE(segments[2], QLineF(6150, 2105, 8160, 535));
        QCOMPARE(segments[3], QLineF(8160, 535, 10170, 5535));
        for (std::size_t k = 0; k + 1 < segments.size(); ++k)
            QCOMPARE(segments[k].p2(), segments[k + 1].p1());
    }

    void keepsScoresInsideTheFrameAndScoreThreeOnTheBandBorder()
    {
        QCOMPARE(G::kFrame, QRect(1320, 525, 9810, 5025));
        QVERIFY(G::kFrame.top() <= G::scoreY(QStringLiteral("5")));
        QVERIFY(G::kFrame.top() + G::kFrame.height() >= G::scoreY(QStringLiteral("0")));
        for (int x : G::kColumnX)
            QVERIFY(x > G::kFrame.left() && x < G::kFrame.left() + G::kFrame.width());
        const auto bands = G::bands();
        QCOMPARE(bands.size(), std::size_t(2));
        QCOMPARE(bands[0].name, QStringLiteral("Label1_4"));
        QCOMPARE(bands[0].rect, QRect(1335, 525, 9780, 1980));
        QCOMPARE(bands[0].colour, QColor(220, 65, 147));
        QCOMPARE(bands[1].name, QStringLiteral("Label1_3"));
        QCOMPARE(bands[1].rect, QRect(1320, 2535, 9795, 2985));
        QCOMPARE(bands[1].colour, QColor(202, 111, 182));
        QCOMPARE(double(bands[1].rect.top()), G::scoreY(QStringLiteral("3")));
    }

    // The texts under the plot: each scale name centred on its column, the value rows below them,
    // the legend swatches beside the rows they stand for.
    void placesTheTextsUnderThePlotInTheirRows()
    {
        const auto names = G::scaleNames();
        for (std::size_t i = 0; i < names.size(); ++i) {
            QCOMPARE(names[i].topLeft.x() + names[i].width / 2, G::kColumnX[i]);
            QCOMPARE(names[i].topLeft.y(), 5625);
        }
        QCOMPARE(G::valueLabelPosition(1), QPoint(2040, 5910));
        QCOMPARE(G::valueLabelPosition(10), QPoint(10120, 6300));
        const auto swatches = G::legendSwatches();
        QCOMPARE(swatches[0].rect.top(), 5895);
        QCOMPARE(swatches[0].colour, G::kSubject1Colour);
        QCOMPARE(swatches[3].rect, QRect(11655, 6300, 645, 240));
        QCOMPARE(swatches[3].colour, G::kSubject2Colour);
        QCOMPARE(G::legendCaptions()[1].text, QStringLiteral("آزمودني 2"));
    }
};

QTEST_GUILESS_MAIN(NeedsChartGeometryTest)
#include "NeedsChartGeometryTest.moc"
