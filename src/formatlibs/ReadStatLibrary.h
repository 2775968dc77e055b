#pragma once

#include "LateLibrary.h"

#include <QString>

#include <readstat.h>

// The functions of ReadStat, which writes the research export's SPSS files, opened when first needed (see
// LateLibrary.h).
#define VELMORA_READSTAT_FUNCTIONS(F)                                                                        \
    F(readstat_writer_init)                                                                                  \
    F(readstat_writer_free)                                                                                  \
    F(readstat_set_data_writer)                                                                              \
    F(readstat_writer_set_compression)                                                                       \
    F(readstat_begin_writing_sav)                                                                            \
    F(readstat_end_writing)                                                                                  \
    F(readstat_begin_row)                                                                                    \
    F(readstat_end_row)                                                                                      \
    F(readstat_add_variable)                                                                                 \
    F(readstat_add_label_set)                                                                                \
    F(readstat_add_note)                                                                                     \
    F(readstat_label_double_value)                                                                           \
    F(readstat_variable_set_label)                                                                           \
    F(readstat_variable_set_label_set)                                                                       \
    F(readstat_variable_set_format)                                                                          \
    F(readstat_variable_set_measure)                                                                         \
    F(readstat_variable_set_display_width)                                                                   \
    F(readstat_variable_get_storage_width)                                                                   \
    F(readstat_variable_add_missing_double_value)                                                            \
    F(readstat_insert_double_value)                                                                          \
    F(readstat_insert_string_value)                                                                          \
    F(readstat_insert_missing_value)                                                                         \
    F(readstat_error_message)

struct ReadStatLibrary
{
    VELMORA_READSTAT_FUNCTIONS(VELMORA_LATE_FUNCTION)

    // The library as a message names it, with the Debian package that holds it.
    static QString displayName();
    // The table, or nullptr where the library or one of its functions is missing.
    static const ReadStatLibrary* get();
};
