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

    void drawsTheReferenceAndGuideLines()
    {
        const auto lines = G::referenceLines();
        QCOMPARE(lines.size(), std::size_t(5));
        QCOMPARE(lines[0].line, QLineF(1125, 495, 11220, 495));
        const std::array<int, 5> heights{495, 1515, 2520, 3525, 4515};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].line.y1(), double(heights[i]));
            QCOMPARE(lines[i].line.y2(), double(heights[i]));
            QCOMPARE(lines[i].line.x2(), 11220.0);
            QCOMPARE(lines[i].colour, heights[i] == 3525 ? QColor(128, 64, 0) : QColor(192, 0, 0));
            QCOMPARE(lines[i].width, heights[i] == 2520 ? 2 : 1);
        }
        QCOMPARE(lines[1].line.x1(), 1155.0);
        const auto guides = G::guideLines();
        QCOMPARE(guides.size(), std::size_t(4));
        QCOMPARE(guides[0].name, QStringLiteral("Line1_6"));
        QCOMPARE(guides[3].line, QLineF(9090, 5500, 9090, 480));
        QCOMPARE(guides[1].style, Qt::DotLine);
    }

    void placesTheTextsAndLegend()
    {
        const auto figures = G::axisFigures();
        QCOMPARE(figures.size(), std::size_t(10));
        QCOMPARE(figures[0].name, QStringLiteral("Label3_1"));
        QCOMPARE(figures[0].text, QStringLiteral("1"));
        QCOMPARE(figures[0].topLeft, QPoint(900, 4380));
        QCOMPARE(figures[4].text, QStringLiteral("5"));
        QCOMPARE(figures[4].topLeft, QPoint(900, 405));
        QCOMPARE(figures[9].name, QStringLiteral("Label3_11"));
        QCOMPARE(figures[9].topLeft, QPoint(11520, 405));
        QVERIFY(figures[9].bold);
        QCOMPARE(figures[9].pointSize, 12);

        const auto names = G::scaleNames();
        QCOMPARE(names[1].text, QStringLiteral("Love & belonging"));
        QCOMPARE(names[1].topLeft, QPoint(3420, 5625));
        for (std::size_t i = 0; i < names.size(); ++i)
            QCOMPARE(names[i].topLeft.x() + names[i].width / 2, G::kColumnX[i]);

        QCOMPARE(G::valueLabelPosition(1), QPoint(2040, 5910));
        QCOMPARE(G::valueLabelPosition(5), QPoint(10120, 5910));
        QCOMPARE(G::valueLabelPosition(6), QPoint(2040, 6300));
        QCOMPARE(G::valueLabelPosition(9), QPoint(8085, 6300));

        const auto captions = G::legendCaptions();
        QCOMPARE(captions[0].text, QStringLiteral("آزمودني 1"));
        QCOMPARE(captions[0].topLeft, QPoint(10785, 5820));
        QCOMPARE(captions[1].name, QStringLiteral("Label3_15"));
        QCOMPARE(captions[1].topLeft, QPoint(10770, 6240));
        const auto swatches = G::legendSwatches();
        QCOMPARE(swatches.size(), std::size_t(4));
        QCOMPARE(swatches[0].rect, QRect(1125, 5895, 645, 240));
        QCOMPARE(swatches[0].colour, QColor(0, 0, 128));
        QCOMPARE(swatches[3].rect, QRect(11655, 6300, 645, 240));
        QCOMPARE(swatches[3].colour, QColor(0, 0, 0));

        QCOMPARE(G::title().text, QStringLiteral("ولمورا Velmora"));
        QCOMPARE(G::title().topLeft, QPoint(1170, 90));
        QCOMPARE(G::title().width, 9150);
    }
};

QTEST_GUILESS_MAIN(NeedsChartGeometryTest)
#include "NeedsChartGeometryTest.moc"
