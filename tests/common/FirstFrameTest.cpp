#include "common/FirstFrame.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

// The start-up holds back the work its first window does not need until that window's first
// picture: started any sooner it would delay the picture, never started it would be lost.
class FirstFrameTest : public QObject
{
    Q_OBJECT
private slots:
    void workWaitsForTheFirstWindowsPictureAndRunsOnce()
    {
        QStringList happened;
        FirstFrame::onFirstFrame(qApp, [&] {
            happened << QStringLiteral("painting");
            FirstFrame::whenPictureShown(qApp, [&] { happened << QStringLiteral("shown"); });
            // The picture is painted first, the work comes on a later turn of the event loop.
            QCOMPARE(happened, QStringList{QStringLiteral("painting")});
        });
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("برچسب"), &window));
        QCoreApplication::processEvents();
        QVERIFY(happened.isEmpty());

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(happened, (QStringList{QStringLiteral("painting"), QStringLiteral("shown")}));

        // Later pictures and later windows start nothing again.
        window.update();
        QWidget second;
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QTest::qWait(50);
        QCOMPARE(happened, (QStringList{QStringLiteral("painting"), QStringLiteral("shown")}));
    }
};

QTEST_MAIN(FirstFrameTest)
#include "FirstFrameTest.moc"
