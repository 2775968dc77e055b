#include "Anonymising.h"

#include "calendar/ShamsiDate.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <sodium.h>

namespace Anonymising {

namespace {

constexpr std::size_t kCodeParticular = 0;
constexpr std::size_t kNameParticulars[] = {1, 2, 6}; // first and last name, education
constexpr std::size_t kDateParticular = 8;

int digitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c.unicode() >= 0x06F0 && c.unicode() <= 0x06F9)
        return c.unicode() - 0x06F0;
    if (c.unicode() >= 0x0660 && c.unicode() <= 0x0669)
        return c.unicode() - 0x0660;
    return -1;
}

// HMAC-SHA-256 of a purpose and the code: the purpose keeps the pseudonym and the shift apart.
QByteArray keyedHash(const QByteArray& key, const char* purpose, const QString& code)
{
    QByteArray message(purpose);
    message.append('\0');
    message.append(code.toUtf8());
    QByteArray hash(crypto_auth_hmacsha256_BYTES, Qt::Uninitialized);
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, reinterpret_cast<const unsigned char*>(key.constData()),
                                static_cast<std::size_t>(key.size()));
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(message.constData()),
                                  static_cast<unsigned long long>(message.size()));
    crypto_auth_hmacsha256_final(&state, reinterpret_cast<unsigned char*>(hash.data()));
    sodium_memzero(&state, sizeof state);
    return hash;
}

bool readNumber(QStringView text, int* value)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    int number = 0;
    for (const QChar c : text) {
        const int digit = digitValue(c);
        if (digit < 0)
            return false;
        number = number * 10 + digit;
    }
    *value = number;
    return true;
}

} // namespace

QByteArray newKey()
{
    QByteArray key(kKeyBytes, Qt::Uninitialized);
    if (sodium_init() < 0)
        return {};
    randombytes_buf(key.data(), static_cast<std::size_t>(key.size()));
    return key;
}

QString keyText(const QByteArray& key)
{
    const QString hex = QString::fromLatin1(key.toHex());
    QStringList groups;
    for (qsizetype at = 0; at < hex.size(); at += 8)
        groups << hex.mid(at, 8);
    return groups.join(u'-');
}

std::optional<QByteArray> keyOfText(const QString& text)
{
    QByteArray hex;
    for (const QChar c : text) {
        if (c.isSpace() || c == u'-')
            continue;
        const int digit = digitValue(c);
        if (digit >= 0)
            hex.append(char('0' + digit));
        else if ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))
            hex.append(char(c.toLower().unicode()));
        else
            return std::nullopt;
    }
    if (hex.size() != 2 * kKeyBytes)
        return std::nullopt;
    return QByteArray::fromHex(hex);
}

QString pseudonym(const QByteArray& key, const QString& code)
{
    return u'P' + QString::fromLatin1(keyedHash(key, "pseudonym", code).left(8).toHex());
}

int dateShift(const QByteArray& key, const QString& code)
{
    const QByteArray hash = keyedHash(key, "date shift", code);
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(hash.at(i));
    // 730 outcomes, -365 … -1 and 1 … 365; the remainder's bias (2^32 mod 730) is far below a day's worth.
    const int n = static_cast<int>(value % 730U);
    return n < 365 ? -(n + 1) : n - 364;
}

QString shiftedDate(const QString& jalali, int days)
{
    const QStringList parts = jalali.trimmed().split(u'/');
    if (parts.size() != 3)
        return {};
    JalaliDate date;
    if (!readNumber(parts.at(0), &date.year) || !readNumber(parts.at(1), &date.month) ||
        !readNumber(parts.at(2), &date.day))
        return {};
    const QDate gregorian = fromJalali(date);
    if (!gregorian.isValid())
        return {};
    return ShamsiDate(gregorian.addDays(days), 0);
}

void apply(const QByteArray& key, StoredSubject* subject)
{
    const QString code = subject->particulars[kCodeParticular];
    const int shift = dateShift(key, code);
    subject->particulars[kCodeParticular] = pseudonym(key, code);
    for (const std::size_t particular : kNameParticulars)
        subject->particulars[particular].clear();
    subject->particulars[kDateParticular] = shiftedDate(subject->particulars[kDateParticular], shift);
    subject->administrationDate = shiftedDate(subject->administrationDate, shift);
}

std::optional<QByteArray> loadKey(const QString& dataFolder, QString* error)
{
    QFile file(QDir(dataFolder).filePath(keyFileName));
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QByteArray content = file.read(1024);
    const std::optional<QByteArray> key = keyOfText(QString::fromLatin1(content));
    sodium_memzero(content.data(), static_cast<std::size_t>(content.size()));
    if (!key) {
        *error = QDir::toNativeSeparators(file.fileName());
        return std::nullopt;
    }
    return key;
}

bool storeKey(const QString& dataFolder, const QByteArray& key, QString* error)
{
    QSaveFile file(QDir(dataFolder).filePath(keyFileName));
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray text = keyText(key).toLatin1() + '\n';
    if (file.write(text) != text.size() || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace Anonymising
