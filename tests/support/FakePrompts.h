#pragma once

#include "common/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

// Records every prompt the code under test shows and answers from queues that the test fills.
// An empty queue answers as the user's cancel would: an empty text, No, no file.
class FakePrompts final : public Prompts
{
public:
    enum class Kind
    {
        Notice,
        Message,
        YesNo,
        Choice,
        Text,
        Password,
        OpenFile,
        SaveFile
    };

    struct Shown
    {
        Kind kind;
        QString title;
        QString text;
        Icon icon = Icon::None;
        int milliseconds = 0;     // notices
        bool rightToLeft = false; // messages
    };

    void notice(QWidget*, const QString& text, int milliseconds = 1000) override
    {
        shown.append({Kind::Notice, QStringLiteral("پيام"), text, Icon::None, milliseconds, false});
        if (onNotice)
            onNotice(text);
    }
    void message(QWidget*, const QString& title, const QString& text, Icon icon,
                 bool rightToLeft = false) override
    {
        shown.append({Kind::Message, title, text, icon, 0, rightToLeft});
        if (onMessage)
            onMessage(text);
    }
    bool askYesNo(QWidget*, const QString& title, const QString& text) override
    {
        shown.append({Kind::YesNo, title, text});
        return !yesNoAnswers.isEmpty() && yesNoAnswers.dequeue();
    }
    int askChoice(QWidget*, const QString& title, const QString& text, const QStringList& choices) override
    {
        shown.append({Kind::Choice, title, text});
        lastChoices = choices;
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.dequeue();
    }
    int askItem(QWidget*, const QString& title, const QString& text, const QStringList& items,
                int current) override
    {
        shown.append({Kind::Choice, title, text});
        lastChoices = items;
        lastItemCurrent = current;
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.dequeue();
    }
    QString askText(QWidget*, const QString& title, const QString& prompt,
                    const QString& defaultText = {}) override
    {
        shown.append({Kind::Text, title, prompt});
        lastTextDefault = defaultText;
        return textAnswers.isEmpty() ? QString() : textAnswers.dequeue();
    }
    std::optional<QString> askPassword(QWidget*, const QString& title, const QString& prompt) override
    {
        shown.append({Kind::Password, title, prompt});
        if (passwordAnswers.isEmpty())
            return std::nullopt;
        return passwordAnswers.dequeue();
    }
    QString openFileName(QWidget*, const QString& caption, const QString& folder,
                         const QString& filter) override
    {
        shown.append({Kind::OpenFile, caption, {}});
        lastFileFolder = folder;
        lastFileFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& folder,
                         const QString& filter) override
    {
        shown.append({Kind::SaveFile, caption, {}});
        lastFileFolder = folder;
        lastFileFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    void beep() override { ++beeps; }

    // The texts of the shown prompts of one kind, in order.
    QStringList texts(Kind kind) const
    {
        QStringList result;
        for (const Shown& s : shown) {
            if (s.kind == kind)
                result << s.text;
        }
        return result;
    }
    QStringList notices() const { return texts(Kind::Notice); }
    QString lastNotice() const { return notices().isEmpty() ? QString() : notices().constLast(); }
    void clear()
    {
        shown.clear();
        beeps = 0;
    }

    QList<Shown> shown;
    QQueue<QString> textAnswers;
    QQueue<QString> passwordAnswers; // an empty queue cancels
    QQueue<bool> yesNoAnswers;
    QQueue<int> choiceAnswers; // an empty queue cancels
    int lastItemCurrent = -1;
    QStringList lastChoices;
    QQueue<QString> fileAnswers;
    QString lastTextDefault;
    QString lastFileFolder; // the folder (or proposed file) and filter of the last file dialog
    QString lastFileFilter;
    int beeps = 0;
    std::function<void(const QString&)> onNotice;
    std::function<void(const QString&)> onMessage; // called with the text as a message is shown
};
