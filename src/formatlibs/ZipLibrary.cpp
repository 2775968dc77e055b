#include "ZipLibrary.h"

const ZipLibrary* ZipLibrary::get()
{
    return loadLateLibraryOnce<ZipLibrary>(VELMORA_LIBZIP_SONAME,
                                           [](const LateLibrary& library, ZipLibrary& table, bool& complete) {
                                               VELMORA_ZIP_FUNCTIONS(VELMORA_RESOLVE_LATE_FUNCTION)
                                           });
}

QString ZipLibrary::displayName()
{
    return QStringLiteral("libzip (" VELMORA_LIBZIP_PACKAGE ")");
}
