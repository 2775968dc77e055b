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

    // Every text a clinician reads on the chart, with its place: the axis figures rising on both
    // sides, the scale names left to right, each subject's values in its own row, and the legend
    // swatches in their subject's colour.
    void placesEveryTextTheClinicianReads()
    {
        const std::array<int, 5> figureTops{4380, 3375, 2385, 1365, 405}; // "1" at the bottom
        const auto figures = G::axisFigures();
        QCOMPARE(figures.size(), std::size_t(10));
        const QStringList figureNames{"Label3_1", "Label3_3", "Label3_4", "Label3_5",  "Label3_6",
                                      "Label3_7", "Label3_8", "Label3_9", "Label3_10", "Label3_11"};
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const std::size_t n = i % 5;
            QCOMPARE(figures[i].name, figureNames.at(qsizetype(i)));
            QCOMPARE(figures[i].text, QString::number(n + 1));
            QCOMPARE(figures[i].topLeft, QPoint(i < 5 ? 900 : 11520, figureTops[n]));
            QVERIFY(figures[i].bold);
            QCOMPARE(figures[i].pointSize, 12);
        }

        const QStringList scaleTexts{"Survival", "Love & belonging", "Freedom", "Power/self-worth",
                                     "Fun & enjoyment"};
        const std::array<int, 5> scaleLefts{1755, 3420, 5805, 7425, 9525};
        const auto names = G::scaleNames();
        QCOMPARE(names.size(), std::size_t(5));
        for (std::size_t i = 0; i < names.size(); ++i) {
            QCOMPARE(names[i].name, QStringLiteral("Label2_%1").arg(i));
            QCOMPARE(names[i].text, scaleTexts.at(qsizetype(i)));
            QCOMPARE(names[i].topLeft, QPoint(scaleLefts[i], 5625));
            QCOMPARE(names[i].topLeft.x() + names[i].width / 2, G::kColumnX[i]);
            QVERIFY(names[i].bold);
        }

        const std::array<int, 5> valueLefts{2040, 4065, 6120, 8085, 10120};
        for (int index = 1; index <= 10; ++index) {
            const int row = index <= 5 ? 5910 : 6300;
            QCOMPARE(G::valueLabelPosition(index), QPoint(valueLefts[std::size_t((index - 1) % 5)], row));
        }

        const auto captions = G::legendCaptions();
        QCOMPARE(captions.size(), std::size_t(2));
        QCOMPARE(captions[0].text, QStringLiteral("آزمودني 1"));
        // Each at its row's values, ending a little before its row's right swatch.
        QCOMPARE(captions[0].topLeft.y(), 5910);
        QCOMPARE(captions[0].right, 11655 - G::kLegendGap);
        QCOMPARE(captions[1].text, QStringLiteral("آزمودني 2"));
        QCOMPARE(captions[1].topLeft.y(), 6300);
        QCOMPARE(captions[1].right, 11655 - G::kLegendGap);

        const auto swatches = G::legendSwatches();
        QCOMPARE(swatches.size(), std::size_t(4));
        const std::array<QRect, 4> swatchRects{QRect(1125, 5895, 645, 240), QRect(11655, 5895, 645, 240),
                                               QRect(1125, 6300, 645, 240), QRect(11655, 6300, 645, 240)};
        for (std::size_t i = 0; i < swatches.size(); ++i) {
            QCOMPARE(swatches[i].name, QStringLiteral("Label4_%1").arg(i));
            QCOMPARE(swatches[i].rect, swatchRects[i]);
            QCOMPARE(swatches[i].colour, i < 2 ? QColor(0, 0, 128) : QColor(0, 0, 0));
        }

        const G::Text heading = G::title();
        QCOMPARE(heading.text, QStringLiteral("ولمورا Velmora"));
        QCOMPARE(heading.topLeft, QPoint(1170, 90));
        QCOMPARE(heading.width, 9150);
    }
};

QTEST_GUILESS_MAIN(NeedsChartGeometryTest)
#include "NeedsChartGeometryTest.moc"
