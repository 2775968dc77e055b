#pragma once

#include "LateLibrary.h"

#include <QString>

#include <xlsxwriter.h>

// The functions of libxlsxwriter, which writes the research export's workbooks, opened when first needed (see
// LateLibrary.h).
#define VELMORA_XLSXWRITER_FUNCTIONS(F)                                                                      \
    F(workbook_new_opt)                                                                                      \
    F(workbook_add_worksheet)                                                                                \
    F(workbook_add_format)                                                                                   \
    F(workbook_close)                                                                                        \
    F(lxw_workbook_free)                                                                                     \
    F(lxw_strerror)                                                                                          \
    F(worksheet_set_column)                                                                                  \
    F(worksheet_set_row)                                                                                     \
    F(worksheet_set_landscape)                                                                               \
    F(worksheet_right_to_left)                                                                               \
    F(worksheet_repeat_rows)                                                                                 \
    F(worksheet_freeze_panes)                                                                                \
    F(worksheet_fit_to_pages)                                                                                \
    F(worksheet_autofilter)                                                                                  \
    F(worksheet_write_string)                                                                                \
    F(worksheet_write_number)                                                                                \
    F(format_set_align)                                                                                      \
    F(format_set_text_wrap)                                                                                  \
    F(format_set_reading_order)                                                                              \
    F(format_set_num_format)                                                                                 \
    F(format_set_bottom)                                                                                     \
    F(format_set_bold)                                                                                       \
    F(format_set_bg_color)

struct XlsxWriterLibrary
{
    VELMORA_XLSXWRITER_FUNCTIONS(VELMORA_LATE_FUNCTION)

    // The library as a message names it, with the Debian package that holds it.
    static QString displayName();
    // The table, or nullptr where the library or one of its functions is missing.
    static const XlsxWriterLibrary* get();
};
