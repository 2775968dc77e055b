#include "common/BidiText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {
// The text drawn in a right-to-left paragraph, or forced left to right, at the left of a strip.
QImage drawn(const QString& text, Qt::LayoutDirection direction)
{
    QImage image(240, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setLayoutDirection(direction);
    const int force = direction == Qt::RightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter | force, text);
    return image;
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
        QCOMPARE(shown, QChar(0x2068) + value + QChar(0x2069));
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
