#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Prompts;
class QWidget;

// Number fields accept only the digit keys (or a narrower set), Backspace and Enter. Any other
// key that would type a character is dropped with a beep and, where asked, the self-closing
// notice "شما بايد عدد وارد كنيد". Navigation and shortcut keys are left alone.
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
    Prompts& m_prompts;
    QWidget* m_field;
    Options m_options;
    std::function<void()> m_keyPressHook;
};
