#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

// What a reader of a printed PDF sees: the text of each page as pdftotext reads it.
//
// pdftotext gives Persian letters back in their shaped presentation forms, wraps runs in bidi
// embedding marks, and names a yeh or kaf by the glyph the typeface drew, which may be the other
// of the two codes that look alike. Texts are therefore compared folded: letters in their plain
// forms, no bidi marks, one code for each of the two look-alike pairs.
namespace PdfText {

inline QString fold(const QString& text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC);
    folded.remove(
        QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]")));
    folded.replace(QChar(0x06CC), QChar(0x064A)); // Farsi yeh, Arabic yeh
    folded.replace(QChar(0x0643), QChar(0x06A9)); // Arabic kaf, keheh
    return folded;
}

// One folded text per page, in page order; empty when the file cannot be read.
inline QStringList pages(const QString& pdfPath)
{
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"),
                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    if (!reader.waitForFinished(120000) || reader.exitCode() != 0)
        return {};
    QStringList result = fold(QString::fromUtf8(reader.readAllStandardOutput())).split(u'\f');
    if (!result.isEmpty() && result.constLast().trimmed().isEmpty())
        result.removeLast();
    return result;
}

// The words of a page's text, split at blanks, line ends and colons (pdftotext puts the colon of a
// right-to-left caption on the other side of the blank).
inline QStringList words(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("[\\s:]+")), Qt::SkipEmptyParts);
}

// Whether the page's text holds the given text as whole words, in order, in one line.
inline bool hasWords(const QString& pageText, const QString& expected)
{
    const QStringList wanted = words(fold(expected));
    for (const QString& line : pageText.split(u'\n')) {
        const QStringList have = words(line);
        for (qsizetype start = 0; start + wanted.size() <= have.size(); ++start) {
            if (have.mid(start, wanted.size()) == wanted)
                return true;
        }
    }
    return false;
}

} // namespace PdfText
