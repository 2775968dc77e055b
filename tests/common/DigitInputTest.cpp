#include "FakePrompts.h"
#include "TypeText.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/NumericKeyFilter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

// Number boxes hold the same rule however the text arrives: typed, pasted, dropped, on a Persian
// keyboard layout, with blanks around it.
class DigitInputTest : public QObject
{
    Q_OBJECT

    struct NumberBox
    {
        FakePrompts prompts;
        QWidget window;
        QLineEdit* edit = new QLineEdit(&window);
        explicit NumberBox(int maxLength, NumericKeyFilter::Options options = {})
        {
            edit->setMaxLength(maxLength);
            new NumericKeyFilter(prompts, edit, options);
            window.show(); // a hidden widget takes no drops
        }
        void paste(const QString& text)
        {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
        void drop(const QString& text)
        {
            QMimeData data;
            data.setText(text);
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &enter);
            QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(edit, &drop);
        }
        QStringList notices() const { return prompts.texts(FakePrompts::Kind::Notice); }
    };

private slots:
    void mapsPersianAndArabicIndicDigitsToLatinOnes()
    {
        QCOMPARE(withLatinDigits(QStringLiteral("۰۱۲۳۴۵۶۷۸۹-٠١٢٣٤٥٦٧٨٩-x")),
                 QStringLiteral("0123456789-0123456789-x"));
        QCOMPARE(subjectCodeAsStored(QStringLiteral(" ۱۲ \t")), QStringLiteral("12"));
        QCOMPARE(subjectCodeAsStored(QStringLiteral("   ")), QString());
        QVERIFY(latinDigit(u'a').isNull());
    }

    void typedPersianDigitsBecomeLatinDigits()
    {
        NumberBox box(2);
        typeText(box.edit, QStringLiteral("۲٥"));
        QCOMPARE(box.edit->text(), QStringLiteral("25"));
        typeText(box.edit, QStringLiteral("۷"));
        QCOMPARE(box.edit->text(), QStringLiteral("25")); // full: a third digit is ignored quietly
        QVERIFY(box.notices().isEmpty());
        QCOMPARE(box.prompts.beeps, 0);
    }

    void pastedOrDroppedTextFollowsTheSameRuleAsTyping()
    {
        NumberBox box(2);
        box.paste(QStringLiteral("ab"));
        QCOMPARE(box.edit->text(), QString());
        QCOMPARE(box.notices(), QStringList{CommonTexts::numbersOnly});
        QCOMPARE(box.prompts.beeps, 1);

        box.paste(QStringLiteral("3ab"));
        QCOMPARE(box.edit->text(), QString());
        box.drop(QStringLiteral("4x"));
        QCOMPARE(box.edit->text(), QString());
        QCOMPARE(box.notices().size(), 3);
        box.drop(QStringLiteral("9"));
        QCOMPARE(box.edit->text(), QStringLiteral("9"));
        box.edit->clear();

        box.paste(QStringLiteral("  ۲۵\n"));
        QCOMPARE(box.edit->text(), QStringLiteral("25"));
        box.edit->clear();
        box.drop(QStringLiteral(" 17 "));
        QCOMPARE(box.edit->text(), QStringLiteral("17"));
        box.edit->clear();
        box.paste(QStringLiteral("123"));
        QCOMPARE(box.edit->text(), QString()); // too long for the box, refused whole
        QCOMPARE(box.notices().size(), 3);

        box.edit->setText(QStringLiteral("-1")); // the window's own text is no refused input
        QCOMPARE(box.notices().size(), 3);
    }

    void aNarrowerDigitSetRefusesHigherDigitsFromEverySource()
    {
        NumericKeyFilter::Options answers;
        answers.highestDigit = u'5';
        answers.showNotice = false;
        NumberBox box(1, answers);
        box.paste(QStringLiteral("7"));
        typeText(box.edit, QStringLiteral("۶"));
        QCOMPARE(box.edit->text(), QString());
        QCOMPARE(box.prompts.beeps, 2);
        QVERIFY(box.notices().isEmpty());
        typeText(box.edit, QStringLiteral("۵"));
        QCOMPARE(box.edit->text(), QStringLiteral("5"));
    }
};

QTEST_MAIN(DigitInputTest)
#include "DigitInputTest.moc"
