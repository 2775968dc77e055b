#pragma once

#include "mainwindow/Frm1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QtTest>

// Drives the main window's panels the way a user does: by control name, by clicks on buttons that
// are on screen, and by keys.
namespace PanelDriver {

template <typename T = QWidget> T* child(Frm1& window, const char* name)
{
    auto* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline void click(Frm1& window, const char* name)
{
    auto* button = child<QPushButton>(window, name);
    QVERIFY2(button->isVisible(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types a text key by key, as a keyboard with a Persian layout would; QTest::keyClicks takes
// Latin-1 only.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace PanelDriver
