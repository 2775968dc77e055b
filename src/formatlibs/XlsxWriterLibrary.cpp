#include "XlsxWriterLibrary.h"

const XlsxWriterLibrary* XlsxWriterLibrary::get()
{
    return loadLateLibraryOnce<XlsxWriterLibrary>(
        VELMORA_XLSXWRITER_SONAME, [](const LateLibrary& library, XlsxWriterLibrary& table, bool& complete) {
            VELMORA_XLSXWRITER_FUNCTIONS(VELMORA_RESOLVE_LATE_FUNCTION)
        });
}

QString XlsxWriterLibrary::displayName()
{
    return QStringLiteral("libxlsxwriter (" VELMORA_XLSXWRITER_PACKAGE ")");
}
