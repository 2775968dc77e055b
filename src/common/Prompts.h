#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Every message box, input dialog and file dialog of the program goes through this interface, so
// that windows can be driven by tests with scripted answers.
class Prompts
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical,
        Question
    };

    virtual ~Prompts() = default;

    // The self-closing notice: a modal box titled "پيام" with the text, one OK button and no icon,
    // which closes itself after the given time unless the user closes it first.
    virtual void notice(QWidget* parent, const QString& text, int milliseconds = 1000) = 0;

    // A modal box with one OK button that waits for the user.
    virtual void message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                         bool rightToLeftReading = false) = 0;

    // A modal Yes/No question without icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;

    // A modal question with one button for each choice, in their order, and a cancel button; the
    // index of the chosen one, or -1 when cancelled (the cancel button, Esc, the close box).
    virtual int askChoice(QWidget* parent, const QString& title, const QString& text,
                          const QStringList& choices) = 0;

    // A modal choice of one item from a list that may be long, the item `current` chosen at first;
    // the index of the chosen one, or -1 when cancelled. Without a list of its own, the choices
    // are buttons.
    virtual int askItem(QWidget* parent, const QString& title, const QString& text, const QStringList& items,
                        int current)
    {
        Q_UNUSED(current)
        return askChoice(parent, title, text, items);
    }

    // A one-line text input; cancelling gives an empty text.
    virtual QString askText(QWidget* parent, const QString& title, const QString& prompt,
                            const QString& defaultText = {}) = 0;

    // A one-line input that does not show what is typed; nullopt when cancelled (an empty password
    // may be a real one).
    virtual std::optional<QString> askPassword(QWidget* parent, const QString& title,
                                               const QString& prompt) = 0;

    // File dialogs; cancelling gives an empty text.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;

    // The desktop's beep for a refused key.
    virtual void beep() = 0;
};
