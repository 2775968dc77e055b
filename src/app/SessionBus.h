#pragma once

#include <QProcessEnvironment>
#include <QString>

// The desktop's session bus, which the screen reader bridge connects to as the first window is
// built.
namespace SessionBus {

// Whether libdbus could find or start a session bus for a process with this environment: an
// address in the environment, the user bus in the runtime folder, or dbus-launch (in libdbus's own
// folder or on the search path), which finds or starts one. With none of them every attempt fails,
// but only after forking a dbus-launch that is not there and waiting for it.
bool mayBeReachable(const QProcessEnvironment& environment,
                    const QString& libdbusProgramFolder = QStringLiteral("/usr/bin"));

} // namespace SessionBus
