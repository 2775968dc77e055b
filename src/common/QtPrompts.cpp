#include "QtPrompts.h"

#include "SelfClosingNotice.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>

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

int QtPrompts::askChoice(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& choices)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Cancel, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices) {
        QPushButton* button = box.addButton(choice, QMessageBox::AcceptRole);
        button->setAccessibleName(choice);
        buttons << button;
    }
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

int QtPrompts::askItem(QWidget* parent, const QString& title, const QString& text, const QStringList& items,
                       int current)
{
    QInputDialog dialog(parent);
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (current >= 0 && current < items.size())
        dialog.setTextValue(items.at(current));
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return static_cast<int>(items.indexOf(dialog.textValue()));
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

QString fileDialogStart(const QString& proposed)
{
    if (proposed.isEmpty())
        return QDir::homePath();
    const QFileInfo info(proposed);
    if (info.isAbsolute() && (info.isDir() || QFileInfo(info.absolutePath()).isDir()))
        return proposed;
    // A folder that is not there, or a bare name: the dialog would open in the working folder,
    // which is often the program folder beside the database files.
    return info.fileName().isEmpty() ? QDir::homePath() : QDir::home().filePath(info.fileName());
}

namespace {
// Text drawn by the style takes its reading direction from the application, not from the widget:
// in the left-to-right file dialog of a right-to-left program the path "/home/x" would read
// "home/x/". This style draws the texts of left-to-right widgets that do not begin in a
// right-to-left script (paths, names, sizes) left to right; Persian captions stay as they are.
class LeftToRightTextStyle final : public QProxyStyle
{
public:
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole role) const override
    {
        if (painter->device() && painter->device()->devType() == QInternal::Widget &&
            static_cast<QWidget*>(painter->device())->layoutDirection() == Qt::LeftToRight &&
            !text.isRightToLeft())
            flags |= Qt::TextForceLeftToRight;
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
    }
};

QStyle* leftToRightTextStyle()
{
    static auto* const style = new LeftToRightTextStyle; // shared by every dialog, for the session
    return style;
}

// The size, type and date columns take the width of their texts, in a dialog wide enough for them.
// The sizes are those of a dialog that shows a name column of some 40 characters beside them.
void fitColumns(QFileDialog& dialog)
{
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        details->header()->setStretchLastSection(false);
    }
    dialog.resize(820, 480);
}

// File names, sizes and dates read left to right; shown in a right-to-left dialog they come out
// scrambled, so the file dialogs keep the left-to-right direction.
QString runFileDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, caption, fileDialogStart(folder), filter);
    dialog.setLayoutDirection(Qt::LeftToRight);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the same dialog, and texts, on every desktop
    for (QWidget* part : dialog.findChildren<QWidget*>())
        part->setStyle(leftToRightTextStyle());
    fitColumns(dialog);
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
