#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Prompts;
class QWidget;

// Number fields accept only the digit keys (or a narrower set), Backspace and Enter. Any other
// key that would type a character is dropped with a beep and, where asked, the self-closing
// notice "شما بايد عدد وارد كنيد". Navigation and shortcut keys are left alone.
//
// The same rule holds for text that arrives without a key press: pasted, dropped or chosen from the
// context menu. Persian and Arabic-Indic digits count as digits and become Latin ones in the box,
// blanks around pasted text are dropped, and a text with anything else is refused as a whole. The
// field's maximum length counts the digits that remain.
class NumericKeyFilter final : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        bool showNotice = true;    // the self-closing notice after the beep
        QChar highestDigit = u'9'; // the answer sheet takes 0 to 5 only
        bool acceptEnter = true;
    };

    NumericKeyFilter(Prompts& prompts, QWidget* field, Options options);
    NumericKeyFilter(Prompts& prompts, QWidget* field) : NumericKeyFilter(prompts, field, Options{}) {}

    // Called for every key press, accepted or not.
    void setKeyPressHook(std::function<void()> hook) { m_keyPressHook = std::move(hook); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool insertsText(QEvent* event);

    Prompts& m_prompts;
    QWidget* m_field;
    Options m_options;
    std::function<void()> m_keyPressHook;
    bool m_insideUserInsertion = false;
};

// The rule for a whole text, as the number fields apply it: the text with Latin digits and no
// blanks around it when every character is an accepted digit and it is not longer than maxLength;
// nothing otherwise.
std::optional<QString> acceptedDigitText(const QString& text, QChar highestDigit, int maxLength);
