#include "common/CaptionLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

// Captions stored with their colon first are drawn with the colon between the word and the field
// on the caption's left, as a Persian reader expects, while their text stays as stored.
class CaptionLabelTest : public QObject
{
    Q_OBJECT

    static QImage drawn(QLabel& label)
    {
        label.setGeometry(0, 0, 160, 24);
        label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label.grab().toImage();
    }

private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void colonFirstCaptionIsDrawnAsTheWordFollowedByItsColon_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("asRead"); // the same caption written in reading order
        QTest::newRow("colon first") << QStringLiteral(":کد آزمودني") << QStringLiteral("کد آزمودني:");
        QTest::newRow("blank, colon") << QStringLiteral(" :نام خانوادگي") << QStringLiteral("نام خانوادگي: ");
        QTest::newRow("colon, blank, trailing blanks")
            << QStringLiteral(": شماره سوال  ") << QStringLiteral("  شماره سوال :");
    }
    void colonFirstCaptionIsDrawnAsTheWordFollowedByItsColon()
    {
        QFETCH(QString, stored);
        QFETCH(QString, asRead);
        QWidget window;
        auto* box = new QLineEdit(&window);
        box->setObjectName(QStringLiteral("Text1"));
        QLabel* caption = addCaptionLabel(box, stored, QRect(0, 0, 160, 24));
        QLabel reference(asRead, &window);
        QCOMPARE(caption->text(), stored);
        QCOMPARE(box->accessibleName(), stored);
        QCOMPARE(drawn(*caption), drawn(reference));
        // Drawn as a plain label would draw it, the colon sits elsewhere.
        QLabel plain(stored, &window);
        QVERIFY(drawn(plain) != drawn(reference));
    }

    // A screen reader reads a value shown beside a caption as the value, and the caption as the
    // caption; an input box is read by its caption.
    void aValueLabelIsReadAsItsValueAndItsCaptionAsTheCaption()
    {
        QWidget window;
        auto* date = new QLabel(QStringLiteral("1402/02/13"), &window);
        QLabel* dateCaption = addCaptionLabel(date, QStringLiteral("تاريخ:"), QRect(0, 0, 80, 24));
        auto* box = new QLineEdit(&window);
        addCaptionLabel(box, QStringLiteral("مسير:"), QRect(0, 30, 80, 24));
        const auto nameOf = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QCOMPARE(nameOf(date), QStringLiteral("1402/02/13"));
        QCOMPARE(nameOf(dateCaption), QStringLiteral("تاريخ:"));
        QCOMPARE(nameOf(box), QStringLiteral("مسير:"));
        date->setText(QStringLiteral("1402/02/14")); // the value read is the one shown now
        QCOMPARE(nameOf(date), QStringLiteral("1402/02/14"));
    }

    void otherCaptionsAreDrawnAsPlainLabels()
    {
        QWidget window;
        const QString caption = QStringLiteral("وضعيت: تاهل");
        CaptionLabel label(caption, &window);
        QLabel plain(caption, &window);
        QVERIFY(!CaptionLabel::startsWithColon(caption));
        QCOMPARE(drawn(label), drawn(plain));
    }
};

QTEST_MAIN(CaptionLabelTest)
#include "CaptionLabelTest.moc"
