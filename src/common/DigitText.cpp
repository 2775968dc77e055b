#include "DigitText.h"

QChar latinDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return c;
    if (u >= 0x06F0 && u <= 0x06F9) // Extended Arabic-Indic, the Persian layout's digits
        return QChar(u'0' + (u - 0x06F0));
    if (u >= 0x0660 && u <= 0x0669) // Arabic-Indic
        return QChar(u'0' + (u - 0x0660));
    return {};
}

QString withLatinDigits(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const QChar digit = latinDigit(c);
        if (!digit.isNull())
            c = digit;
    }
    return result;
}

QString subjectCodeAsStored(const QString& typed)
{
    return withLatinDigits(typed).trimmed();
}
