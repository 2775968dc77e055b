#pragma once

#include <QString>
#include <QtTest>

// Types a text key by key, as a keyboard with any layout would, including characters that
// QTest::keyClicks cannot send (the Persian layout's digits and letters).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}
