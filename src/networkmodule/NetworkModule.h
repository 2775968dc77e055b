#pragma once

#include <QString>
#include <QStringList>

class QObject;
class SmallFetch;
struct NetworkModuleEntry;

// The program's side of the network module: Qt's network library and what it brings (Kerberos,
// the proxy library and eight more) are loaded the first time an update check is made, not as the
// program starts.
namespace NetworkModule {

inline const QString fileName = QStringLiteral("velmora_network.so");

enum class Problem
{
    None,
    Missing,   // no module where the program looks, or not one that loads
    OtherBuild // a module of another build or interface: refused unused
};

// Where the module is looked for, in order: beside the program (the build tree and a portable
// folder), then in the installation's folder of the program's libraries (lib/<processor>/velmora
// beside bin).
QStringList candidates(const QString& programFolder);

// Whether the entry is this build's own.
Problem check(const NetworkModuleEntry& entry);

// A fetch from the module, loaded and checked once per program; nullptr with the problem otherwise.
SmallFetch* makeFetch(QObject* parent, Problem* problem);

} // namespace NetworkModule
