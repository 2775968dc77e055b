#include "QtPrompts.h"

#include "SelfClosingNotice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon toQtIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtPrompts::notice(QWidget* parent, const QString& text, int milliseconds)
{
    SelfClosingNotice::show(parent, text, milliseconds);
}

void QtPrompts::message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                        bool rightToLeftReading)
{
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::Ok, parent);
    if (rightToLeftReading)
        box.setLayoutDirection(Qt::RightToLeft);
    box.exec();
}

bool QtPrompts::askYesNo(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompts::askText(QWidget* parent, const QString& title, const QString& prompt,
                           const QString& defaultText)
{
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

QString QtPrompts::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtPrompts::saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

void QtPrompts::beep()
{
    QApplication::beep();
}
