#include "QtPrompts.h"

#include "SelfClosingNotice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

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

std::optional<QString> QtPrompts::askPassword(QWidget* parent, const QString& title, const QString& prompt)
{
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Password, QString(), &accepted);
    return accepted ? std::optional<QString>(text) : std::nullopt;
}

namespace {
// File names, sizes and dates read left to right; shown in a right-to-left dialog they come out
// scrambled, so the file dialogs keep the left-to-right direction.
QString runFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setLayoutDirection(Qt::LeftToRight);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave) {
        // A name typed without a suffix gets the one of the chosen file type, and the dialog then
        // asks before replacing a file of that full name.
        const auto suffixOf = [](const QString& nameFilter) {
            const QRegularExpressionMatch match =
                QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter);
            return match.hasMatch() ? match.captured(1) : QString();
        };
        dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffixOf](const QString& nameFilter) {
                             dialog.setDefaultSuffix(suffixOf(nameFilter));
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString QtPrompts::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    return runFileDialog(parent, caption, folder, filter, QFileDialog::AcceptOpen);
}

QString QtPrompts::saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    return runFileDialog(parent, caption, folder, filter, QFileDialog::AcceptSave);
}

void QtPrompts::beep()
{
    QApplication::beep();
}
