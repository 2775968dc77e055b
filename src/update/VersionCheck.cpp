#include "VersionCheck.h"

#include "common/NumericValue.h"

#include <QDir>
#include <QFileInfo>

namespace VersionCheck {

long long localVersionNumber(int major, int minor)
{
    return wholeNumericValue(QString::number(major) + QString::number(minor));
}

double remoteVersionNumber(const QString& versionFileText)
{
    return numericValue(versionFileText);
}

bool isNewerVersion(const QString& versionFileText, long long localVersion)
{
    return remoteVersionNumber(versionFileText) > static_cast<double>(localVersion);
}

QString updaterProgramName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Velmoraupdate.exe");
#else
    return QStringLiteral("Velmoraupdate");
#endif
}

QString updaterPath(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString own = folder.filePath(updaterProgramName());
    const QString packaged = folder.filePath(QStringLiteral("velmora-update"));
    if (!QFileInfo(own).isFile() && QFileInfo(packaged).isFile())
        return packaged;
    return own;
}

} // namespace VersionCheck
