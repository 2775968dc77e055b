#include "SessionBus.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace SessionBus {

bool mayBeReachable(const QProcessEnvironment& environment, const QString& libdbusProgramFolder)
{
    // Even an empty address is the user's word, and fails without a fork.
    if (environment.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")))
        return true;
    const QString runtimeFolder = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtimeFolder.isEmpty() && QFileInfo::exists(QDir(runtimeFolder).filePath(QStringLiteral("bus"))))
        return true;
    // libdbus tries its own folder first, then the search path.
    const QStringList folders =
        QStringList{libdbusProgramFolder} +
        environment.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return !QStandardPaths::findExecutable(QStringLiteral("dbus-launch"), folders).isEmpty();
}

} // namespace SessionBus
