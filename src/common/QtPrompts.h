#pragma once

#include "Prompts.h"

// The program's prompts: Qt message boxes, input dialogs and file dialogs.
class QtPrompts final : public Prompts
{
public:
    void notice(QWidget* parent, const QString& text, int milliseconds = 1000) override;
    void message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                 bool rightToLeftReading = false) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    int askChoice(QWidget* parent, const QString& title, const QString& text,
                  const QStringList& choices) override;
    int askItem(QWidget* parent, const QString& title, const QString& text, const QStringList& items,
                int current) override;
    QString askText(QWidget* parent, const QString& title, const QString& prompt,
                    const QString& defaultText = {}) override;
    std::optional<QString> askPassword(QWidget* parent, const QString& title, const QString& prompt) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    void beep() override;
};

// Where a file dialog opens for the proposed file or folder: as proposed where its folder exists,
// otherwise the same name in the home folder.
QString fileDialogStart(const QString& proposed);
