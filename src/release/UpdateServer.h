#pragma once

#include <QString>
#include <QUrl>

// Where the update check and the updater find a release: the vendor's update server, unless the
// environment variable VELMORA_UPDATE_SERVER names a server on this machine ("http://127.0.0.1:8000"),
// which is how an update is tried by hand against a local copy of the server. Whatever the
// server, only files signed with the built-in release key are believed.
namespace UpdateServer {

inline constexpr char kOverrideVariable[] = "VELMORA_UPDATE_SERVER";

// The server address from the variable's value: honoured only for "http://" and a loopback host
// (127.0.0.1, localhost or [::1]) with an optional port and nothing else; otherwise the vendor's.
QString addressFrom(const QString& overrideValue);

// From the environment.
QString address();
QUrl versionFile();
QString installationPackage();

} // namespace UpdateServer
