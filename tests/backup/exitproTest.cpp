#include "backup/exitpro.h"
#include "TestProgramFolder.h"
#include "backup/BackupTexts.h"
#include "common/Twips.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QtTest>

namespace T = BackupTexts;

class exitproTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    QPointer<exitpro> m_dialog;

    template <typename W = QWidget> W* child(const char* name)
    {
        auto* widget = m_dialog->findChild<W*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
    bool visible(const char* name) { return child(name)->isVisible(); }
    // A pointer move as the window system delivers it: to the widget under the pointer, with no
    // button held. (QTest::mouseMove moves the desktop's cursor, which the offscreen platform
    // does not follow.)
    static void moveOver(QWidget* widget, QPoint pos)
    {
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    // Over the dialog's background, at a point given in twips.
    void pointAt(int left, int top) { moveOver(m_dialog, twipsPoint(left, top)); }
    void pointAtCentreOf(const char* name) { moveOver(child(name), child(name)->rect().center()); }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>(false);
        m_dialog = new exitpro(m_folder->context());
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }
    void cleanup()
    {
        delete m_dialog;
        m_folder.reset();
    }

    void opensWithPlainPicturesAndAnUntickedBox()
    {
        QCOMPARE(m_dialog->windowTitle(), T::makeBackup);
        QCOMPARE(m_dialog->pos(), twipsPoint(5000, 2500));
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("آيا براي خروج از برنامه اطمينان داريد"));
        QCOMPARE(child<QLabel>("Label1")->font().pointSizeF(), 14.25);
        QVERIFY(child<QLabel>("Label1")->font().bold());
        auto* box = child<QCheckBox>("Check1");
        QCOMPARE(box->text(), QStringLiteral("تهيه نسخه پشتيبان"));
        QVERIFY(!box->isChecked());
        QCOMPARE(box->font().pointSizeF(), 12.0);
        QVERIFY(visible("k1") && visible("C1"));
        QVERIFY(!visible("k2") && !visible("C2"));
        QCOMPARE(child("k1")->geometry(), twipsRect(2460, 2220, 1440, 525));
        QCOMPARE(child("k2")->geometry(), twipsRect(2460, 2220, 1440, 525));
        QCOMPARE(child("C1")->geometry(), twipsRect(360, 2220, 1440, 525));
        QVERIFY(!child<QLabel>("k1")->pixmap().isNull());
        QVERIFY(!child<QLabel>("C2")->pixmap().isNull());
        // The Esc button lies outside the visible area.
        QVERIFY(!m_dialog->rect().intersects(child("Command1")->geometry()));
        for (const char* name : {"Timer2", "Timer3", "tmCaptionAnimate"}) {
            QVERIFY2(child<QTimer>(name)->isActive(), name);
            QCOMPARE(child<QTimer>(name)->interval(), 500);
        }
        m_dialog->placeAt(1500);
        QCOMPARE(m_dialog->pos(), twipsPoint(5000, 1500));
    }

    void picturesLightUpUnderThePointerAndGoPlainOverTheBackground()
    {
        pointAtCentreOf("k1");
        QVERIFY(visible("k2") && !visible("k1"));
        QVERIFY(visible("C1") && !visible("C2"));
        pointAt(2100, 2480); // the gap between the two buttons
        QVERIFY(visible("k1") && visible("C1") && !visible("k2") && !visible("C2"));
        pointAtCentreOf("C1");
        QVERIFY(visible("C2") && !visible("C1"));
        QVERIFY(visible("k1"));
        pointAt(2100, 120);
        QVERIFY(visible("k1") && visible("C1") && !visible("k2") && !visible("C2"));
    }

    void escapeEndsTheProgramWhenNoBackupIsAsked()
    {
        QTest::keyClick(m_dialog, Qt::Key_Escape);
        QCOMPARE(m_folder->desktop.quits, 1);
        QCOMPARE(m_folder->navigator.calls, QStringList());
    }

    void escapeOpensTheBackupWindowWhenTheBoxIsTicked()
    {
        QTest::mouseClick(child<QCheckBox>("Check1"), Qt::LeftButton);
        QVERIFY(child<QCheckBox>("Check1")->isChecked());
        QTest::keyClick(child("Check1"), Qt::Key_Escape); // Esc wherever the focus is
        QCOMPARE(m_folder->navigator.calls, QStringList{QStringLiteral("openBackup")});
        QCOMPARE(m_folder->desktop.quits, 0);
        QVERIFY(m_dialog); // hidden, not closed
        QVERIFY(!m_dialog->isVisible());
    }

    void clickOnTheLitConfirmPictureConfirms()
    {
        pointAtCentreOf("k1");
        QTest::mouseClick(child("k2"), Qt::LeftButton);
        QCOMPARE(m_folder->desktop.quits, 1);
    }

    void cancelBringsTheMainWindowBackAndCloses()
    {
        pointAtCentreOf("C1");
        QTest::mouseClick(child("C2"), Qt::LeftButton);
        QCOMPARE(m_folder->navigator.calls, QStringList{QStringLiteral("exitCancelled")});
        QCOMPARE(m_folder->desktop.quits, 0);
        QTRY_VERIFY(!m_dialog);
    }

    void captionsAlternateAmongTheThreeTexts()
    {
        const QSet<QString> allowed{T::makeBackup, T::makeBackupBlank, T::backingUp};
        QStringList windowCaptions;
        QSet<QString> boxCaptions;
        connect(m_dialog, &QWidget::windowTitleChanged, this,
                [&](const QString& title) { windowCaptions << title; });
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 2300) {
            QTest::qWait(20);
            const QString box = child<QCheckBox>("Check1")->text();
            QVERIFY2(allowed.contains(box), qPrintable(box));
            // What a screen reader reads stays the same while the caption alternates.
            QCOMPARE(
                QAccessible::queryAccessibleInterface(child<QCheckBox>("Check1"))->text(QAccessible::Name),
                T::makeBackup);
            boxCaptions << box;
        }
        QVERIFY(windowCaptions.size() >= 3);
        for (qsizetype i = 0; i < windowCaptions.size(); ++i) {
            QVERIFY(windowCaptions[i] == T::makeBackupBlank || windowCaptions[i] == T::backingUp);
            if (i > 0)
                QVERIFY(windowCaptions[i] != windowCaptions[i - 1]);
        }
        QVERIFY(boxCaptions.contains(T::makeBackupBlank));
        QVERIFY(boxCaptions.contains(T::backingUp));
        // After the first ticks exactly one of the two handing-over timers runs.
        QVERIFY(child<QTimer>("Timer2")->isActive() != child<QTimer>("Timer3")->isActive());
    }
};

QTEST_MAIN(exitproTest)
#include "exitproTest.moc"
