#include "Skins.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace Skins {

QString skinFolder(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("skin"));
}

QString numberFilePath(const QString& dataFolder)
{
    return QDir(skinFolder(dataFolder)).filePath(QStringLiteral("skin.txt"));
}

QString skinFilePath(const QString& sharedFolder, const QString& number)
{
    return QDir(skinFolder(sharedFolder)).filePath(number + QStringLiteral(".skn"));
}

QString parseNumberField(const QString& line)
{
    QString field = line;
    while (!field.isEmpty() && (field.front() == u' ' || field.front() == u'\t'))
        field.remove(0, 1);
    if (field.startsWith(u'"')) {
        const qsizetype close = field.indexOf(u'"', 1);
        return close < 0 ? field.mid(1) : field.mid(1, close - 1);
    }
    const qsizetype comma = field.indexOf(u',');
    if (comma >= 0)
        field.truncate(comma);
    return field.trimmed();
}

QString readCurrentNumber(const QString& dataFolder)
{
    QFile file(numberFilePath(dataFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray firstLine = file.readLine(4096);
    QString line = QString::fromUtf8(firstLine);
    // A line ends at a line feed, a carriage return or both; an editor may have put a byte order
    // mark in front.
    const auto lineEnd =
        std::find_if(line.cbegin(), line.cend(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    line.truncate(lineEnd - line.cbegin());
    if (line.startsWith(QChar(0xFEFF)))
        line.remove(0, 1);
    return parseNumberField(line);
}

bool writeCurrentNumber(const QString& dataFolder, const QString& number)
{
    QDir().mkpath(skinFolder(dataFolder));
    QSaveFile file(numberFilePath(dataFolder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(number.toUtf8() + "\r\n");
    return file.commit();
}

namespace {

// Only the plain numbers of the shipped skins name a file; "07", "+7" or "7a" do not.
bool isShippedNumber(const QString& number)
{
    // Checked by hand rather than by a pattern, which would be compiled on the way to the first
    // window.
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const bool plain = (number.size() == 1 || number.size() == 2) && isDigit(number.front()) &&
                       number.front() != u'0' && isDigit(number.back());
    if (!plain)
        return false;
    const int value = number.toInt();
    return value >= kFirst && value <= kLast;
}

// Whether a file's content can style the windows: UTF-8 text of balanced rules, at least one of
// them. Anything else (a truncated download, a picture saved under the name, a file of blanks)
// would leave the windows unstyled, so it counts as missing.
bool isStyleSheetText(const QByteArray& content, QString* text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(content);
    if (decoder.hasError())
        return false;
    int depth = 0;
    int rules = 0;
    bool inComment = false;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded.at(i);
        if (c.category() == QChar::Other_Control && !QStringView(u"\t\n\r\f").contains(c))
            return false;
        if (inComment) {
            if (c == u'*' && decoded.mid(i + 1, 1) == u"/") {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (c == u'/' && decoded.mid(i + 1, 1) == u"*") {
            inComment = true;
            ++i;
        } else if (c == u'{')
            ++depth;
        else if (c == u'}' && --depth < 0)
            return false;
        else if (c == u'}' && depth == 0)
            ++rules;
    }
    if (depth != 0 || inComment || rules == 0)
        return false;
    *text = decoded;
    return true;
}

bool readStyleSheet(const QString& path, QString* styleSheet)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return isStyleSheetText(file.readAll(), styleSheet);
}

} // namespace

QString styleSheetFor(const QString& sharedFolder, const QString& number, int* applied)
{
    QString styleSheet;
    if (isShippedNumber(number) && readStyleSheet(skinFilePath(sharedFolder, number), &styleSheet)) {
        if (applied)
            *applied = number.toInt();
        return styleSheet;
    }
    if (applied)
        *applied = kFirst;
    if (readStyleSheet(skinFilePath(sharedFolder, QString::number(kFirst)), &styleSheet))
        return styleSheet;
    readStyleSheet(QStringLiteral(":/velmora/skin/1.skn"), &styleSheet);
    return styleSheet;
}

} // namespace Skins
