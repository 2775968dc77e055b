#include "NumericKeyFilter.h"

#include "CommonTexts.h"
#include "DigitText.h"
#include "Prompts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

std::optional<QString> acceptedDigitText(const QString& text, QChar highestDigit, int maxLength)
{
    const QString digits = withLatinDigits(text).trimmed();
    if (digits.size() > maxLength)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > highestDigit)
            return std::nullopt;
    }
    return digits;
}

namespace {

// Applies the rule to every edit of a line edit, however the text arrived. The line edit keeps no
// maximum length of its own, since it would cut a pasted text with blanks around it before the
// blanks are dropped.
class DigitValidator final : public QValidator
{
public:
    enum class Refusal
    {
        None,
        NotDigits,
        TooLong
    };

    DigitValidator(QChar highestDigit, int maxLength, QObject* parent)
        : QValidator(parent), m_highestDigit(highestDigit), m_maxLength(maxLength)
    {
    }

    State validate(QString& input, int& position) const override
    {
        const std::optional<QString> accepted = acceptedDigitText(input, m_highestDigit, m_maxLength);
        if (!accepted) {
            const bool digitsOnly = acceptedDigitText(input, m_highestDigit, input.size()).has_value();
            m_lastRefusal = digitsOnly ? Refusal::TooLong : Refusal::NotDigits;
            return Invalid;
        }
        if (*accepted != input) {
            // Blanks dropped before the cursor move it back by as many characters.
            const QString before = withLatinDigits(input.left(position)).trimmed();
            input = *accepted;
            position = std::min<int>(before.size(), input.size());
        }
        m_lastRefusal = Refusal::None;
        return Acceptable;
    }

    Refusal lastRefusal() const { return m_lastRefusal; }

private:
    QChar m_highestDigit;
    int m_maxLength;
    mutable Refusal m_lastRefusal = Refusal::None;
};

} // namespace

NumericKeyFilter::NumericKeyFilter(Prompts& prompts, QWidget* field, Options options)
    : QObject(field), m_prompts(prompts), m_field(field), m_options(options)
{
    field->installEventFilter(this);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        auto* validator = new DigitValidator(options.highestDigit, edit->maxLength(), edit);
        edit->setMaxLength(32767);
        edit->setValidator(validator);
        connect(edit, &QLineEdit::inputRejected, this, [this, validator] {
            // A digit typed into a full box is ignored quietly, as a full box always did. Texts the
            // window sets itself (an item number below 1, say) are not the user's: they are let be.
            if (!m_insideUserInsertion || validator->lastRefusal() != DigitValidator::Refusal::NotDigits)
                return;
            m_prompts.beep();
            if (m_options.showNotice)
                m_prompts.notice(m_field->window(), CommonTexts::numbersOnly);
        });
    }
}

bool NumericKeyFilter::insertsText(QEvent* event)
{
    // Pasting by key or from the context menu, dropping, and the X11 middle-button paste.
    switch (event->type()) {
    case QEvent::KeyPress:
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste);
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field)
        return QObject::eventFilter(watched, event);
    if (insertsText(event) && !m_insideUserInsertion) {
        // Handled here, inside a scope that tells the user's insertions from the window's own.
        m_insideUserInsertion = true;
        static_cast<QObject*>(m_field)->event(event);
        m_insideUserInsertion = false;
        return true;
    }
    if (event->type() != QEvent::KeyPress)
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
    const QChar digit = latinDigit(text.at(0));
    if (text.size() == 1 && !digit.isNull() && digit <= m_options.highestDigit)
        return false; // a Persian digit reaches the box and becomes a Latin one there
    m_prompts.beep();
    if (m_options.showNotice)
        m_prompts.notice(m_field->window(), CommonTexts::numbersOnly);
    return true;
}
