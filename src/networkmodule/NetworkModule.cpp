#include "NetworkModule.h"

#include "NetworkModuleEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

#include <cstring>

namespace NetworkModule {

QStringList candidates(const QString& programFolder)
{
    const QDir folder(programFolder);
    return {folder.filePath(fileName),
            QDir::cleanPath(folder.filePath(QStringLiteral("../" VELMORA_MODULE_FOLDER "/") + fileName))};
}

Problem check(const NetworkModuleEntry& entry)
{
    if (entry.interfaceVersion != kNetworkModuleInterface || !entry.buildIdentity ||
        std::strcmp(entry.buildIdentity, VELMORA_BUILD_IDENTITY) != 0)
        return Problem::OtherBuild;
    return entry.makeFetch ? Problem::None : Problem::OtherBuild;
}

namespace {

struct Loaded
{
    const NetworkModuleEntry* entry = nullptr;
    Problem problem = Problem::Missing;
};

Loaded load()
{
    Loaded loaded;
    for (const QString& path : candidates(QCoreApplication::applicationDirPath())) {
        if (!QFile::exists(path))
            continue;
        // Never unloaded: the fetches it makes live in the program's windows.
        QLibrary library(path);
        const auto entryFunction =
            reinterpret_cast<NetworkModuleEntryFunction>(library.resolve(kNetworkModuleEntryFunction));
        if (!entryFunction)
            continue;
        const NetworkModuleEntry* entry = entryFunction();
        loaded.problem = entry ? check(*entry) : Problem::OtherBuild;
        if (loaded.problem == Problem::None)
            loaded.entry = entry;
        return loaded;
    }
    return loaded;
}

} // namespace

SmallFetch* makeFetch(QObject* parent, Problem* problem)
{
    static const Loaded loaded = load();
    *problem = loaded.problem;
    return loaded.entry ? loaded.entry->makeFetch(parent) : nullptr;
}

} // namespace NetworkModule
