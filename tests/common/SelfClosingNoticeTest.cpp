#include "common/SelfClosingNotice.h"
#include "common/CommonTexts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The notice is tested for real: a QMessageBox on the offscreen platform that closes itself.
class SelfClosingNoticeTest : public QObject
{
    Q_OBJECT

    static QMessageBox* openNotice()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible() && box->windowTitle() == CommonTexts::noticeTitle)
                return box;
        }
        return nullptr;
    }

private slots:
    void noticeIsAModalBoxWithOneOkButtonAndNoIcon()
    {
        bool checked = false;
        QTimer::singleShot(100, this, [&] {
            QMessageBox* box = openNotice();
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("شما بايد عدد وارد كنيد"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButton(box->buttons().constFirst()), QMessageBox::Ok);
            QVERIFY(box->isModal());
            checked = true;
        });
        SelfClosingNotice::show(nullptr, CommonTexts::numbersOnly);
        QVERIFY(checked);
    }

    void noticeClosesItselfAfterTheGivenTime_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("one second") << 1000;
        QTest::newRow("two seconds") << 2000;
    }
    void noticeClosesItselfAfterTheGivenTime()
    {
        QFETCH(int, milliseconds);
        bool openJustBefore = false;
        QTimer::singleShot(milliseconds - 300, this, [&] { openJustBefore = openNotice() != nullptr; });
        QElapsedTimer clock;
        clock.start();
        SelfClosingNotice::show(nullptr, QStringLiteral("x"), milliseconds);
        const qint64 elapsed = clock.elapsed();
        QVERIFY(openJustBefore);
        QVERIFY2(elapsed >= milliseconds - 50 && elapsed < milliseconds + 1500,
                 qPrintable(QString::number(elapsed)));
        QVERIFY(!openNotice());
    }

    void userMayCloseTheNoticeFirst()
    {
        QTimer::singleShot(100, this, [] { openNotice()->buttons().constFirst()->click(); });
        QElapsedTimer clock;
        clock.start();
        SelfClosingNotice::show(nullptr, QStringLiteral("x"));
        QVERIFY(clock.elapsed() < 900);
    }

    void boxWithAnotherTitleIsNeverClosedByTheTimer()
    {
        // While the notice is up, a box titled "خطا" opens over it. When the notice's timer fires
        // it must close the notice only; the other box stays until its own user answers it.
        bool otherStillOpenAfterTimer = false;
        bool noticeClosedByTimer = false;
        QTimer::singleShot(100, this, [&] {
            QMessageBox other(QMessageBox::Warning, CommonTexts::warningTitle, QStringLiteral("other"),
                              QMessageBox::Ok);
            QTimer::singleShot(1400, &other, [&] {
                otherStillOpenAfterTimer = other.isVisible();
                noticeClosedByTimer = openNotice() == nullptr;
                other.accept();
            });
            other.exec();
        });
        SelfClosingNotice::show(nullptr, QStringLiteral("x"));
        QVERIFY(otherStillOpenAfterTimer);
        QVERIFY(noticeClosedByTimer);
    }

    void timerWithoutAnOpenNoticeClosesNothing()
    {
        QMessageBox other(QMessageBox::Information, CommonTexts::attentionTitle, QStringLiteral("x"),
                          QMessageBox::Ok);
        other.show();
        QVERIFY(!SelfClosingNotice::closeOpenNotice());
        QVERIFY(other.isVisible());
    }
};

QTEST_MAIN(SelfClosingNoticeTest)
#include "SelfClosingNoticeTest.moc"
