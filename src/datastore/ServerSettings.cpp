#include "ServerSettings.h"

#include "DatastoreTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {

const QString kSection = QStringLiteral("[Server]");

bool isTrue(const QString& value)
{
    const QString v = value.trimmed().toLower();
    return v == u"true" || v == u"1" || v == u"yes";
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// One field of a .pgpass line matched against a connection value, as libpq matches it: a field that
// is "*" alone matches anything; otherwise the field, with "\:" and "\\" read as ":" and "\", must
// equal the value. Returns the position after the field's closing colon, or -1.
qsizetype matchPgpassField(const QString& line, qsizetype from, const QString& value)
{
    if (line.mid(from, 2) == u"*:")
        return from + 2;
    QString field;
    for (qsizetype i = from; i < line.size(); ++i) {
        QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size()) {
            field += line[++i];
            continue;
        }
        if (c == u':')
            return field == value ? i + 1 : -1;
        field += c;
    }
    return -1; // a line with too few fields matches nothing
}

// The last field of a matching line, unescaped; it ends at an unescaped colon or the line's end.
QString pgpassPassword(const QString& line, qsizetype from)
{
    QString password;
    for (qsizetype i = from; i < line.size(); ++i) {
        if (line[i] == u':')
            break;
        if (line[i] == u'\\' && i + 1 < line.size())
            ++i;
        password += line[i];
    }
    return password;
}

QString usersPgpassPath()
{
    const QString fromEnvironment = qEnvironmentVariable("PGPASSFILE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef Q_OS_WIN
    return QDir(qEnvironmentVariable("APPDATA")).filePath(QStringLiteral("postgresql/pgpass.conf"));
#else
    return QDir::home().filePath(QStringLiteral(".pgpass"));
#endif
}

// libpq ignores a password file that others may read; so do we, or a password that PostgreSQL's own
// tools refuse to use would still be taken from it here.
bool readableByOthers(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    return (QFile::permissions(path) & others) != 0;
#endif
}

} // namespace

namespace ServerSettingsFile {

std::optional<ServerSettings> read(const QString& folder)
{
    QFile file(QDir(folder).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;

    ServerSettings settings;
    QString text = QString::fromUtf8(file.readAll());
    // An editor may put a byte order mark in front of the first key.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#') || line.startsWith(u'['))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"host") {
            settings.host = value;
        } else if (key == u"port") {
            bool ok = false;
            const int port = value.toInt(&ok);
            // A damaged port keeps PostgreSQL's own, which the window shows for correction.
            if (ok && port > 0 && port <= 65535)
                settings.port = port;
        } else if (key == u"database") {
            settings.databaseName = value;
        } else if (key == u"user") {
            settings.userName = value;
        } else if (key == u"requireencryption") {
            settings.requireEncryption = isTrue(value);
        } else if (key == u"certificateauthority") {
            settings.certificateAuthorityFile = value;
        } else if (key == u"inuse") {
            settings.inUse = isTrue(value);
        }
    }
    if (settings.host.isEmpty())
        return std::nullopt;
    return settings;
}

bool write(const QString& folder, const ServerSettings& settings, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = DatastoreTexts::serverSettingsNotWritten(reason);
        return false;
    };
    for (const QString& value :
         {settings.host, settings.databaseName, settings.userName, settings.certificateAuthorityFile}) {
        if (value.contains(u'\n') || value.contains(u'\r'))
            return fail(DatastoreTexts::serverSettingsLineBreak);
    }

    const QString text =
        kSection + u'\n' + QStringLiteral("host=") + settings.host.trimmed() + u'\n' +
        QStringLiteral("port=") + QString::number(settings.port) + u'\n' + QStringLiteral("database=") +
        settings.databaseName.trimmed() + u'\n' + QStringLiteral("user=") + settings.userName.trimmed() +
        u'\n' + QStringLiteral("requireEncryption=") + yesNo(settings.requireEncryption) + u'\n' +
        QStringLiteral("certificateAuthority=") + settings.certificateAuthorityFile.trimmed() + u'\n' +
        QStringLiteral("inUse=") + yesNo(settings.inUse) + u'\n';
    const QByteArray bytes = text.toUtf8();

    QSaveFile file(QDir(folder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

QString passwordFromPgpass(const ServerSettings& settings, const QString& pgpassPath)
{
    const QString path = pgpassPath.isEmpty() ? usersPgpassPath() : pgpassPath;
    if (!QFileInfo(path).isFile() || readableByOthers(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};

    // libpq looks up "localhost" when no host is given.
    const QString host =
        settings.host.trimmed().isEmpty() ? QStringLiteral("localhost") : settings.host.trimmed();
    const QString port = QString::number(settings.port);
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        qsizetype at = matchPgpassField(line, 0, host);
        if (at >= 0)
            at = matchPgpassField(line, at, port);
        if (at >= 0)
            at = matchPgpassField(line, at, settings.databaseName.trimmed());
        if (at >= 0)
            at = matchPgpassField(line, at, settings.userName.trimmed());
        if (at >= 0)
            return pgpassPassword(line, at);
    }
    return {};
}

} // namespace ServerSettingsFile
