#include "common/QtPersianTexts.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class QtPersianTextsTest : public QObject
{
    Q_OBJECT
private slots:
    void standardButtonsSpeakPersian()
    {
        QVERIFY(loadQtPersianTexts(*QCoreApplication::instance()));
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No);
        for (QAbstractButton* button : box.buttons()) {
            const QString text = button->text().remove(u'&');
            QVERIFY2(!text.isEmpty() && text.at(0).script() == QChar::Script_Arabic, qPrintable(text));
        }
    }
};

QTEST_MAIN(QtPersianTextsTest)
#include "QtPersianTextsTest.moc"
