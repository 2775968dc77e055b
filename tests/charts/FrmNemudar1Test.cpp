#include "charts/FrmNemudar1.h"
#include "TestProgramFolder.h"
#include "charts/ChartElements.h"
#include "charts/NeedsChartGeometry.h"
#include "common/BidiText.h"
#include "common/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace G = NeedsChartGeometry;

namespace {

NeedsChartInput oneSubject()
{
    NeedsChartInput input;
    input.subject1Scores = {QStringLiteral("0"), QStringLiteral("3."), QStringLiteral("3.43"),
                            QStringLiteral("5."), QString()};
    input.subject1Line = QStringLiteral("line 1");
    input.testDate = QStringLiteral("1402/02/13");
    return input;
}

NeedsChartInput couple()
{
    NeedsChartInput input = oneSubject();
    input.mode = NeedsChartInput::Mode::Couple;
    input.secondSubjectVisible = true;
    input.subject2Scores = {QStringLiteral("1."), QStringLiteral("2."), QStringLiteral("x"),
                            QStringLiteral("4.5"), QStringLiteral(".14")};
    return input;
}

// Every element that belongs to the second subject only.
QStringList secondSubjectElements()
{
    QStringList names{QStringLiteral("Label3_0"), QStringLiteral("Label3_15")};
    for (int k = 6; k <= 10; ++k)
        names << QStringLiteral("Lblkh_%1").arg(k);
    for (int k = 4; k <= 7; ++k)
        names << QStringLiteral("Line2_%1").arg(k);
    for (int k = 0; k <= 3; ++k)
        names << QStringLiteral("Label4_%1").arg(k);
    return names;
}

} // namespace

class FrmNemudar1Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<FrmNemudar1> m_chart;

    template <typename T = QWidget> T* child(const QString& name) { return m_chart->findChild<T*>(name); }
    ChartLine* segment(int k) { return child<ChartLine>(QStringLiteral("Line2_%1").arg(k)); }

    void open(const NeedsChartInput& input)
    {
        m_chart = std::make_unique<FrmNemudar1>(m_folder->context());
        m_chart->setInput(input);
        m_chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chart.get()));
    }

    // The colour drawn at a point given in twips.
    QColor colourAt(const QImage& image, const QPointF& twips)
    {
        return image.pixelColor(qRound(twips.x() / kTwipsPerPixel), qRound(twips.y() / kTwipsPerPixel));
    }

    static double distanceToPolyline(const QPointF& point, const std::array<QString, 5>& scores)
    {
        double nearest = 1e9;
        for (const QLineF& line : G::polyline(scores)) {
            const QPointF d = line.p2() - line.p1();
            const double t =
                std::clamp(QPointF::dotProduct(point - line.p1(), d) / QPointF::dotProduct(d, d), 0.0, 1.0);
            nearest = std::min(nearest, QLineF(point, line.p1() + t * d).length());
        }
        return nearest;
    }

private slots:

    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup()
    {
        m_chart.reset();
        m_folder.reset();
    }

    void isAFixedGreyWindowWithoutSkin()
    {
        open(oneSubject());
        QCOMPARE(m_chart->size(), QSize(840, 497));
        QCOMPARE(m_chart->windowTitle(), QString());
        QCOMPARE(m_chart->styleSheet(), QString());
        QVERIFY(!m_chart->property("skinNumber").isValid());
        QCOMPARE(m_chart->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(child("Frame2")->geometry(), twipsRect(45, 6705, 12510, 600));
        QCOMPARE(child<QPushButton>(QStringLiteral("Cmdprint"))->text(), QStringLiteral("پرينت"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Cmdword"))->text(), QStringLiteral("خروجي  Word"));
        QCOMPARE(child<QPushButton>(QStringLiteral("Command4"))->text(), QStringLiteral("خروج"));
        QCOMPARE(child<QLabel>(QStringLiteral("Label1_3"))->geometry(), twipsRect(1320, 2535, 9795, 2985));
        QCOMPARE(child<ChartFrame>(QStringLiteral("Shape3"))->rectTwips(), QRect(1320, 525, 9810, 5025));
    }

    void oneSubjectModeShowsOnlyTheFirstSubject()
    {
        open(oneSubject());
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text3"))->text(), QStringLiteral("1"));
        for (const QString& name : secondSubjectElements())
            QVERIFY2(!child(name)->isVisible(), qPrintable(name));
        for (int k = 1; k <= 5; ++k) {
            QVERIFY(child(QStringLiteral("Lblkh_%1").arg(k))->isVisible());
            // The score as a unit of its own direction ("3." keeps its point on the right in the
            // right-to-left window), read by a screen reader as stored.
            const auto* value = child<QLabel>(QStringLiteral("Lblkh_%1").arg(k));
            QCOMPARE(value->text(), BidiText::isolated(oneSubject().subject1Scores[k - 1]));
            QCOMPARE(value->accessibleName(), oneSubject().subject1Scores[k - 1]);
        }
        for (int k = 0; k <= 3; ++k)
            QVERIFY(segment(k)->isVisible());
        for (const char* common : {"Label3_1", "Label3_11", "Label2_0", "Line3_2", "Line1_9", "Label1_4"})
            QVERIFY2(child(QLatin1String(common))->isVisible(), common);
    }

    // The legend's ink keeps clear of the scale name above it and of its swatch, and stands level
    // with its row's values; in the typeface and size the program sets.
    void theLegendKeepsClearOfTheScaleNames()
    {
        const QFont before = QApplication::font();
        QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
        QFont programFont(QStringLiteral("B Nazanin"));
        programFont.setPointSize(11);
        QApplication::setFont(programFont);
        open(couple());
        QApplication::setFont(before);

        const QImage window = m_chart->grab().toImage();
        const QRect scaleName = child(QStringLiteral("Label2_4"))->geometry();
        const QRect caption = child(QStringLiteral("Label3_0"))->geometry();
        // Rows between the top of the scale name and the bottom of the caption, across the caption,
        // that hold any ink.
        QList<int> inked;
        for (int y = scaleName.top(); y <= caption.bottom(); ++y) {
            for (int x = caption.left(); x <= caption.right(); ++x) {
                if (qGray(window.pixel(x, y)) < 96) {
                    inked << y;
                    break;
                }
            }
        }
        QVERIFY(!inked.isEmpty());
        int widestGap = 0;
        for (qsizetype i = 1; i < inked.size(); ++i)
            widestGap = std::max(widestGap, inked[i] - inked[i - 1] - 1);
        QVERIFY2(widestGap >= 3,
                 qPrintable(QStringLiteral("%1 blank rows between the name and the caption").arg(widestGap)));

        const std::array<std::pair<const char*, const char*>, 2> rows{
            {{"Label3_0", "Label4_1"}, {"Label3_15", "Label4_3"}}};
        for (const auto& [captionName, swatchName] : rows) {
            const QRect shown = child(QLatin1String(captionName))->geometry();
            const QRect swatch = child(QLatin1String(swatchName))->geometry();
            QVERIFY2(shown.right() + 4 <= swatch.left(), captionName);
            QVERIFY2(shown.top() < swatch.bottom() && shown.bottom() > swatch.top(), captionName);
        }
        QCOMPARE(child(QStringLiteral("Label3_0"))->y(), child(QStringLiteral("Lblkh_5"))->y());
        QCOMPARE(child(QStringLiteral("Label3_15"))->y(), child(QStringLiteral("Lblkh_10"))->y());
    }

    void coupleModeAddsTheSecondSubject()
    {
        open(couple());
        QCOMPARE(child<QLineEdit>(QStringLiteral("Text3"))->text(), QStringLiteral("2"));
        for (const QString& name : secondSubjectElements())
            QVERIFY2(child(name)->isVisible(), qPrintable(name));
        // Each value in its subject's row under its scale's column.
        const NeedsChartInput input = couple();
        for (int k = 1; k <= 10; ++k) {
            const auto* value = child<QLabel>(QStringLiteral("Lblkh_%1").arg(k));
            const auto& scores = k <= 5 ? input.subject1Scores : input.subject2Scores;
            QCOMPARE(value->text(), BidiText::isolated(scores[std::size_t((k - 1) % 5)]));
            QCOMPARE(value->accessibleName(), scores[std::size_t((k - 1) % 5)]);
            QCOMPARE(value->pos(), twipsPoint(G::valueLabelPosition(k).x(), G::valueLabelPosition(k).y()));
        }
        QCOMPARE(child<QLabel>(QStringLiteral("Label3_0"))->text(), QStringLiteral("آزمودني 1"));
        QCOMPARE(child<QLabel>(QStringLiteral("Label3_15"))->text(), QStringLiteral("آزمودني 2"));
        QCOMPARE(child<QLabel>(QStringLiteral("Lblkh_6"))->pos(), twipsPoint(2040, 6300));
    }

    void placesThePolylinesAtTheScoreHeights()
    {
        open(couple());
        QCOMPARE(segment(0)->line(), QLineF(2130, 5535, 4140, 2535));
        QCOMPARE(segment(2)->line(), QLineF(6150, 2105, 8160, 535));
        QCOMPARE(segment(4)->line(), QLineF(2130, 4535, 4140, 3535));
        QCOMPARE(segment(7)->line(), QLineF(8160, 1035, 10170, 5395));
        QCOMPARE(segment(0)->colour(), QColor(0, 0, 128));
        QCOMPARE(segment(0)->penWidth(), 7);
        QCOMPARE(segment(5)->colour(), QColor(0, 0, 0));
        QCOMPARE(segment(5)->penWidth(), 5);
    }

    // What is on screen, not only the numbers: the navy line passes through every point of
    // subject 1 and the black one through those of subject 2 only while it is shown.
    void drawsTheLinesThroughThePointsOnScreen()
    {
        open(couple());
        QImage image = m_chart->grab().toImage();
        const NeedsChartInput input = couple();
        for (int column = 0; column < 5; ++column) {
            const QPointF first = G::scorePoint(column, input.subject1Scores[column]);
            QCOMPARE(colourAt(image, first), QColor(0, 0, 128));
            // The navy line is drawn over the black one: look only where it does not pass.
            const QPointF second = G::scorePoint(column, input.subject2Scores[column]);
            if (distanceToPolyline(second, input.subject1Scores) > 8 * kTwipsPerPixel)
                QCOMPARE(colourAt(image, second), QColor(0, 0, 0));
        }
        m_chart->setInput(oneSubject());
        image = m_chart->grab().toImage();
        const QPointF hidden = G::scorePoint(3, couple().subject2Scores[3]);
        QVERIFY(colourAt(image, hidden) != QColor(0, 0, 0));
        // The midpoint of a segment lies on the line, too.
        QCOMPARE(colourAt(image, QLineF(2130, 5535, 4140, 2535).center()), QColor(0, 0, 128));
    }

    void redrawsFromTheValueLabelsEachTimeItComesToTheFront()
    {
        open(oneSubject());
        const int before = m_chart->redrawCount();
        QVERIFY(before >= 1);
        child<QLabel>(QStringLiteral("Lblkh_1"))->setText(BidiText::isolated(QStringLiteral("2.5")));
        QCOMPARE(segment(0)->line().p1(), QPointF(2130, 5535));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(m_chart.get(), &activate);
        QCOMPARE(segment(0)->line().p1(), QPointF(2130, 3035));
        QApplication::sendEvent(m_chart.get(), &activate);
        QCOMPARE(segment(0)->line().p1(), QPointF(2130, 3035));
        QCOMPARE(m_chart->redrawCount(), before + 2);
        m_chart->hide();
        m_chart->show();
        QCOMPARE(m_chart->redrawCount(), before + 3);
    }

    void closingByTheButtonOrEscapeOrOtherwiseGivesTheScoringWindowBackOnce()
    {
        open(oneSubject());
        QTest::mouseClick(child<QPushButton>(QStringLiteral("Command4")), Qt::LeftButton);
        QVERIFY(!m_chart->isVisible());
        m_chart->close();
        QCOMPARE(m_folder->navigator.calls, QStringList{QStringLiteral("needsChartClosed")});

        m_folder->navigator.calls.clear();
        open(oneSubject());
        m_chart->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_chart.get()));
        QTest::keyClick(m_chart.get(), Qt::Key_Escape);
        QTRY_VERIFY(!m_chart->isVisible()); // a button pressed by its key clicks a moment later
        QCOMPARE(m_folder->navigator.calls, QStringList{QStringLiteral("needsChartClosed")});

        m_folder->navigator.calls.clear();
        open(oneSubject());
        m_chart->close();
        QCOMPARE(m_folder->navigator.calls, QStringList{QStringLiteral("needsChartClosed")});
    }
};

QTEST_MAIN(FrmNemudar1Test)
#include "FrmNemudar1Test.moc"
