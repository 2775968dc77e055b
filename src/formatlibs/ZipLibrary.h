#pragma once

#include "LateLibrary.h"

#include <QString>

#include <zip.h>

// The functions of libzip, which packs the .docx documents and reads back the finished workbooks, opened when
// first needed (see LateLibrary.h).
#define VELMORA_ZIP_FUNCTIONS(F)                                                                             \
    F(zip_open)                                                                                              \
    F(zip_fopen)                                                                                             \
    F(zip_fread)                                                                                             \
    F(zip_fclose)                                                                                            \
    F(zip_discard)                                                                                           \
    F(zip_close)                                                                                             \
    F(zip_file_add)                                                                                          \
    F(zip_error_init)                                                                                        \
    F(zip_error_fini)                                                                                        \
    F(zip_open_from_source)                                                                                  \
    F(zip_source_buffer_create)                                                                              \
    F(zip_source_buffer)                                                                                     \
    F(zip_source_keep)                                                                                       \
    F(zip_source_free)                                                                                       \
    F(zip_source_open)                                                                                       \
    F(zip_source_seek)                                                                                       \
    F(zip_source_tell)                                                                                       \
    F(zip_source_read)                                                                                       \
    F(zip_source_close)

struct ZipLibrary
{
    VELMORA_ZIP_FUNCTIONS(VELMORA_LATE_FUNCTION)

    // The library as a message names it, with the Debian package that holds it.
    static QString displayName();
    // The table, or nullptr where the library or one of its functions is missing.
    static const ZipLibrary* get();
};
