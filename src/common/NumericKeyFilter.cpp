#include "NumericKeyFilter.h"

#include "CommonTexts.h"
#include "Prompts.h"

#include <QKeyEvent>
#include <QWidget>

NumericKeyFilter::NumericKeyFilter(Prompts& prompts, QWidget* field, Options options)
    : QObject(field), m_prompts(prompts), m_field(field), m_options(options)
{
    field->installEventFilter(this);
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (m_keyPressHook)
        m_keyPressHook();
    switch (key->key()) {
    case Qt::Key_Backspace:
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_options.acceptEnter)
            return false;
        m_prompts.beep();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    // Keys that type nothing (arrows, Tab, function keys) and shortcuts are not typing.
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar c = text.at(0);
    if (text.size() == 1 && c >= u'0' && c <= m_options.highestDigit)
        return false;
    m_prompts.beep();
    if (m_options.showNotice)
        m_prompts.notice(m_field->window(), CommonTexts::numbersOnly);
    return true;
}
