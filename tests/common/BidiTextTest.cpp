#include "common/BidiText.h"

#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

namespace {
// The text as a grid cell draws it (the way stored values are most often shown), in a
// right-to-left or left-to-right view, at the left of the cell.
QImage drawn(const QString& text, Qt::LayoutDirection direction)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), text);
    model.setData(model.index(0, 0), int(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter),
                  Qt::TextAlignmentRole);
    QTableView view;
    view.setLayoutDirection(direction);
    view.setModel(&model);
    view.horizontalHeader()->hide();
    view.verticalHeader()->hide();
    view.setShowGrid(false); // drawn on the cell's left or right side by the direction
    view.setColumnWidth(0, 240);
    view.resize(260, 60);
    const QRect cell = view.visualRect(model.index(0, 0));
    return view.viewport()->grab(cell).toImage();
}
} // namespace

class BidiTextTest : public QObject
{
    Q_OBJECT

private slots:
    void valuesThatRightToLeftTextWouldMirrorAreIsolated_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes") << QStringLiteral("Ali \"the great\"");
        QTest::newRow("plus") << QStringLiteral("+1");
        QTest::newRow("minus") << QStringLiteral("-2");
        QTest::newRow("formula") << QStringLiteral("=1+1");
        QTest::newRow("at") << QStringLiteral("@SUM(A1)");
        QTest::newRow("path") << QStringLiteral("../x");
        QTest::newRow("Latin then Persian") << QStringLiteral("Ali علي");
    }
    // In its logical order, in an isolate; drawn in right-to-left text it reads as it does on its own.
    void valuesThatRightToLeftTextWouldMirrorAreIsolated()
    {
        QFETCH(QString, value);
        const QString shown = BidiText::isolated(value);
        QCOMPARE(shown, QChar(0x2066) + value + QChar(0x2069));
        QCOMPARE(drawn(shown, Qt::RightToLeft), drawn(value, Qt::LeftToRight));
        QVERIFY(drawn(value, Qt::RightToLeft) != drawn(value, Qt::LeftToRight)); // the fault it mends
    }

    void valuesThatReadTheSameEitherWayStayAsTheyAre()
    {
        for (const QString& value :
             {QStringLiteral("علي احمدي"), QStringLiteral("علي (2)"), QStringLiteral("12"),
              QStringLiteral("۱۹"), QStringLiteral("Ali Ahmadi"), QStringLiteral("A"), QString()})
            QCOMPARE(BidiText::isolated(value), value);
    }
};

QTEST_MAIN(BidiTextTest)
#include "BidiTextTest.moc"
