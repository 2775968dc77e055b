#pragma once

#include "TableFileWriter.h"

#include <QString>
#include <QVector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;
struct XlsxWriterLibrary;

// The table as an Excel workbook through libxlsxwriter: a right-to-left data sheet with the
// variable names in a frozen first row, numbers stored as numbers and texts as texts, and a
// right-to-left codebook sheet that explains every variable.
//
// The workbook is written in libxlsxwriter's constant-memory mode, one row at a time, so a
// hundred thousand subjects need no more memory than one; texts are then stored in the cells
// themselves (inline strings) instead of a shared string table, which every spreadsheet reads.
// A text in a cell is never run as a formula, so texts are written exactly as stored: characters
// that XML cannot hold (a NUL, U+FFFE, U+FFFF) and texts that look like the format's own escapes
// (_x0041_) go in escaped, so that a spreadsheet shows the whole text as typed.
//
// libxlsxwriter writes to a file name of its own, so the workbook goes to a hidden temporary
// file beside the target (see PartFile) and is renamed over the target when complete.
class XlsxFileWriter final : public TableFileWriter
{
public:
    ~XlsxFileWriter() override;

    bool open(const QString& targetPath, const QVector<ExportVariable>& variables) override;
    bool writeRow(const ExportRow& row) override;
    bool finish() override;
    bool commit() override;
    void discard() override;
    QString errorString() const override { return m_error; }

    // In constant-memory mode libxlsxwriter keeps the rows in a temporary file whose write errors
    // it does not report: on a full disk the workbook would silently lack its last rows. So the
    // finished data sheet is read back, and its rows (the header included) counted, before the
    // file may replace anything.
    static bool hasAllRows(const QString& path, int rows);

    // The text as the bytes libxlsxwriter is given, so that a reader of the cell gets the text
    // back: NUL, U+FFFE and U+FFFF as _xHHHH_ escapes, the underscore of a text that reads like
    // such an escape as _x005F_, a lone surrogate (no character at all) as U+FFFD. libxlsxwriter
    // escapes the other control characters itself.
    static QByteArray cellText(const QString& text);

    // The lines a text takes in a wrapping cell of the column width (in characters): its own lines,
    // each wrapped where it is longer than the column.
    static int lineCount(const QString& text, double columnWidth);

private:
    bool writeText(lxw_worksheet* sheet, int row, int column, const QString& text, lxw_format* format);
    bool check(int error);
    bool writeCodebook();
    // Makes the row as tall as the lines of text it shows (one line: the reader's own height).
    bool setRowLines(lxw_worksheet* sheet, int row, int lines);
    void setColumnWidths();
    lxw_format* columnFormat(ExportVariable::Kind kind) const;

    const XlsxWriterLibrary* m_library = nullptr;
    QString m_targetPath; // the real target, a symbolic link resolved
    QString m_temporaryPath;
    bool m_finished = false;
    QVector<ExportVariable> m_variables;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_data = nullptr;
    lxw_worksheet* m_codebook = nullptr;
    lxw_format* m_headerFormat = nullptr;
    lxw_format* m_textFormat = nullptr;
    lxw_format* m_scoreFormat = nullptr;
    lxw_format* m_wrapFormat = nullptr;
    lxw_format* m_topFormat = nullptr;
    int m_nextRow = 0;
    QString m_error;
};
