#include "RareWindowsLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

RareWindows* loadRareWindowsFrom(const QString& folder, QString* error)
{
    QLibrary module(QDir(folder).filePath(QLatin1String(kRareWindowsModule)));
    // Every symbol is bound now: a module that does not fit this program fails here, with its
    // reason, rather than halfway through a window.
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    using Entry = RareWindows* (*)();
    const auto entry = reinterpret_cast<Entry>(module.resolve(kRareWindowsEntry));
    if (!entry) {
        if (error)
            *error = module.errorString();
        return nullptr;
    }
    // Never unloaded: its windows may live until the program ends.
    return entry();
}

RareWindows* loadRareWindows(QString* error)
{
    return loadRareWindowsFrom(QCoreApplication::applicationDirPath(), error);
}
