#include "SessionBus.h"

#include <QDir>
#include <QFileInfo>

namespace SessionBus {

namespace {

bool hasLauncherIn(const QString& folder)
{
    const QFileInfo launcher(QDir(folder).filePath(QStringLiteral("dbus-launch")));
    return launcher.isFile() && launcher.isExecutable();
}

} // namespace

bool mayBeReachable(const QProcessEnvironment& environment, const QString& libdbusProgramFolder)
{
    // Even an empty address is the user's word, and fails without a fork.
    if (environment.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")))
        return true;
    const QString runtimeFolder = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtimeFolder.isEmpty() && QFileInfo::exists(QDir(runtimeFolder).filePath(QStringLiteral("bus"))))
        return true;
    if (hasLauncherIn(libdbusProgramFolder))
        return true;
    const QStringList searchPath =
        environment.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& folder : searchPath) {
        if (hasLauncherIn(folder))
            return true;
    }
    return false;
}

} // namespace SessionBus
