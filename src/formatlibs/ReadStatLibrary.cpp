#include "ReadStatLibrary.h"

const ReadStatLibrary* ReadStatLibrary::get()
{
    return loadLateLibraryOnce<ReadStatLibrary>(
        VELMORA_READSTAT_SONAME, [](const LateLibrary& library, ReadStatLibrary& table, bool& complete) {
            VELMORA_READSTAT_FUNCTIONS(VELMORA_RESOLVE_LATE_FUNCTION)
        });
}

QString ReadStatLibrary::displayName()
{
    return QStringLiteral("ReadStat (" VELMORA_READSTAT_PACKAGE ")");
}
