#include "common/FirstFrame.h"

#include <QBackingStore>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <QtTest>

class FirstFrameTest : public QObject
{
    Q_OBJECT

    static const uchar* backingStoreMemory(QWidget& window)
    {
        QPaintDevice* device = window.backingStore() ? window.backingStore()->paintDevice() : nullptr;
        return device && device->devType() == QInternal::Image ? static_cast<QImage*>(device)->constBits()
                                                               : nullptr;
    }

private slots:
    // The backing store made and mapped before the window is shown is the one its first picture is
    // painted into, whole: a store of another size would be made again, and the mapping wasted.
    void theFirstPictureIsPaintedIntoTheWarmedUpBackingStore()
    {
        QWidget window;
        window.setFixedSize(320, 240);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(0x1f, 0x6f, 0x8b));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        const uchar* warmedUp = nullptr;
        {
            const FirstFrame::BackingStoreWarmUp warmUp(&window);
            QVERIFY(window.backingStore());
            QCOMPARE(window.backingStore()->size(), window.size());
            warmedUp = backingStoreMemory(window);
            QVERIFY(warmedUp);
            window.show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QCOMPARE(backingStoreMemory(window), warmedUp);
        const QImage picture = window.screen()->grabWindow(window.winId()).toImage();
        QCOMPARE(picture.size(), window.size());
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(319, 0), QPoint(0, 239), QPoint(319, 239), QPoint(160, 120)})
            QCOMPARE(picture.pixelColor(corner), QColor(0x1f, 0x6f, 0x8b));
    }
};

QTEST_MAIN(FirstFrameTest)
#include "FirstFrameTest.moc"
