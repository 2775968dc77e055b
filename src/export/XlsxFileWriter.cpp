#include "XlsxFileWriter.h"

#include "ExportTexts.h"
#include "PartFile.h"
#include "common/FileLinks.h"
#include "formatlibs/XlsxWriterLibrary.h"
#include "formatlibs/ZipLibrary.h"

#include <QByteArrayMatcher>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The height of one line of text in the default typeface (Calibri 11), in points.
constexpr double kLineHeightPoints = 15.0;

// libxlsxwriter and libzip take UTF-8 file names on Windows and the system's encoding elsewhere.
QByteArray fileNameForLibrary(const QString& path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Whether the underscore at this position starts something a reader takes for an escape: _xHHHH_.
bool startsEscape(const QString& text, qsizetype at)
{
    if (at + 6 >= text.size() || (text.at(at + 1) != u'x' && text.at(at + 1) != u'X') ||
        text.at(at + 6) != u'_')
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        if (!isHexDigit(text.at(i)))
            return false;
    }
    return true;
}

QString escaped(char16_t code)
{
    return QStringLiteral("_x") + QString::number(code, 16).toUpper().rightJustified(4, u'0') + u'_';
}

} // namespace

QByteArray XlsxFileWriter::cellText(const QString& text)
{
    const auto needsCare = [](QChar c) {
        return c == u'_' || c.unicode() == 0 || c.isSurrogate() || c.unicode() >= 0xFFFE;
    };
    if (std::none_of(text.cbegin(), text.cend(), needsCare))
        return text.toUtf8();
    QString mended;
    mended.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            mended += c;
            mended += text.at(++i);
        } else if (c.isSurrogate()) {
            mended += QChar(QChar::ReplacementCharacter);
        } else if (c.unicode() == 0 || c.unicode() >= 0xFFFE) {
            mended += escaped(c.unicode());
        } else if (c == u'_' && startsEscape(text, i)) {
            mended += escaped(u'_');
        } else {
            mended += c;
        }
    }
    return mended.toUtf8();
}

bool XlsxFileWriter::hasAllRows(const QString& path, int expectedRows)
{
    const ZipLibrary* zip = ZipLibrary::get();
    if (!zip)
        return false;
    int error = 0;
    zip_t* archive = zip->zip_open(fileNameForLibrary(path).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return false;
    bool complete = false;
    if (zip_file_t* sheet = zip->zip_fopen(archive, "xl/worksheets/sheet1.xml", 0)) {
        static const QByteArray rowStart = QByteArrayLiteral("<row ");
        const QByteArrayMatcher matcher(rowStart);
        QByteArray chunk(1 << 18, Qt::Uninitialized);
        QByteArray tail; // the end of what was read: a row start may be cut in two by the chunks
        qint64 rows = 0;
        zip_int64_t read = 0;
        while ((read = zip->zip_fread(sheet, chunk.data(), static_cast<zip_uint64_t>(chunk.size()))) > 0) {
            const QByteArray text = tail + QByteArray::fromRawData(chunk.constData(), read);
            // Row starts wholly inside the tail were counted with the previous chunk.
            const qsizetype from = std::max<qsizetype>(0, tail.size() - rowStart.size() + 1);
            for (qsizetype at = matcher.indexIn(text, from); at >= 0; at = matcher.indexIn(text, at + 1))
                ++rows;
            tail = text.right(32);
        }
        zip->zip_fclose(sheet);
        complete = read == 0 && rows == expectedRows && tail.trimmed().endsWith("</worksheet>");
    }
    zip->zip_discard(archive);
    return complete;
}

XlsxFileWriter::~XlsxFileWriter()
{
    discard();
}

bool XlsxFileWriter::check(int error)
{
    if (error == LXW_NO_ERROR)
        return true;
    if (m_error.isEmpty())
        m_error = QString::fromUtf8(m_library->lxw_strerror(static_cast<lxw_error>(error)));
    return false;
}

bool XlsxFileWriter::writeText(lxw_worksheet* sheet, int row, int column, const QString& text,
                               lxw_format* format)
{
    const QByteArray utf8 = cellText(text);
    return check(m_library->worksheet_write_string(sheet, static_cast<lxw_row_t>(row),
                                                   static_cast<lxw_col_t>(column), utf8.constData(), format));
}

bool XlsxFileWriter::open(const QString& targetPath, const QVector<ExportVariable>& variables)
{
    discard();
    m_targetPath = FileLinks::realTarget(targetPath);
    m_variables = variables;
    m_error.clear();
    m_nextRow = 0;
    // libzip reads the finished workbook back: without it no workbook could be trusted.
    m_library = XlsxWriterLibrary::get();
    const QString missing = !m_library           ? XlsxWriterLibrary::displayName()
                            : !ZipLibrary::get() ? ZipLibrary::displayName()
                                                 : QString();
    if (!missing.isEmpty()) {
        m_error = ExportTexts::libraryMissing.arg(missing);
        return false;
    }

    // A unique name beside the target, for its owner only; libxlsxwriter then writes it anew
    // (truncating it, so that its permissions stay).
    {
        const auto part = PartFile::create(m_targetPath, &m_error);
        if (!part)
            return false;
        m_temporaryPath = part->fileName();
    }

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray fileName = fileNameForLibrary(m_temporaryPath);
    m_workbook = m_library->workbook_new_opt(fileName.constData(), &options);
    if (!m_workbook) {
        m_error = QString::fromUtf8(m_library->lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
        discard();
        return false;
    }
    m_data = m_library->workbook_add_worksheet(m_workbook, ExportTexts::dataSheet.toUtf8().constData());
    m_codebook =
        m_library->workbook_add_worksheet(m_workbook, ExportTexts::codebookSheet.toUtf8().constData());
    if (!m_data || !m_codebook) {
        m_error = QString::fromUtf8(m_library->lxw_strerror(LXW_ERROR_CREATING_TMPFILE));
        discard();
        return false;
    }
    m_headerFormat = m_library->workbook_add_format(m_workbook);
    m_library->format_set_bold(m_headerFormat);
    m_library->format_set_bg_color(m_headerFormat, 0xDDEBF7);
    m_library->format_set_bottom(m_headerFormat, LXW_BORDER_THIN);
    m_library->format_set_align(m_headerFormat, LXW_ALIGN_CENTER);
    // Texts sit on the right, where a right-to-left sheet starts, whatever their script. A text of
    // several lines (an education typed on two) wraps inside its cell, whose row is as tall as its
    // lines, instead of running up over the row above.
    m_textFormat = m_library->workbook_add_format(m_workbook);
    m_library->format_set_align(m_textFormat, LXW_ALIGN_RIGHT);
    m_library->format_set_text_wrap(m_textFormat);
    m_library->format_set_align(m_textFormat, LXW_ALIGN_VERTICAL_TOP);
    m_scoreFormat = m_library->workbook_add_format(m_workbook);
    m_library->format_set_num_format(m_scoreFormat, "0.00");
    m_library->format_set_align(m_scoreFormat, LXW_ALIGN_VERTICAL_TOP);
    // Names and numbers stand at the top of their rows, level with the wrapped texts beside them.
    m_topFormat = m_library->workbook_add_format(m_workbook);
    m_library->format_set_align(m_topFormat, LXW_ALIGN_VERTICAL_TOP);
    m_wrapFormat = m_library->workbook_add_format(m_workbook);
    m_library->format_set_text_wrap(m_wrapFormat);
    m_library->format_set_align(m_wrapFormat, LXW_ALIGN_VERTICAL_TOP);
    m_library->format_set_reading_order(m_wrapFormat, 2);

    m_library->worksheet_right_to_left(m_data);
    m_library->worksheet_freeze_panes(m_data, 1, 0);
    m_library->worksheet_set_landscape(m_data);
    m_library->worksheet_repeat_rows(m_data, 0, 0);
    setColumnWidths();
    for (qsizetype column = 0; column < m_variables.size(); ++column) {
        if (!writeText(m_data, 0, static_cast<int>(column), m_variables.at(column).name, m_headerFormat)) {
            discard();
            return false;
        }
    }
    m_nextRow = 1;
    return true;
}

lxw_format* XlsxFileWriter::columnFormat(ExportVariable::Kind kind) const
{
    switch (kind) {
    case ExportVariable::Kind::Text:
        return m_textFormat;
    case ExportVariable::Kind::Fraction:
        return m_scoreFormat;
    case ExportVariable::Kind::Whole:
        break;
    }
    // Numbers stand at the top of a row made taller by a text beside them, as the texts do.
    return m_topFormat;
}

void XlsxFileWriter::setColumnWidths()
{
    for (qsizetype column = 0; column < m_variables.size(); ++column) {
        const ExportVariable& variable = m_variables.at(column);
        const auto at = static_cast<lxw_col_t>(column);
        m_library->worksheet_set_column(m_data, at, at, variable.width, columnFormat(variable.kind));
    }
}

int XlsxFileWriter::lineCount(const QString& text, double columnWidth)
{
    // CR LF, LF and a lone CR each end a line; breaks at the end still show as empty lines.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    // A column's width counts characters of the default typeface's figures; a line longer than
    // that wraps (most letters are no wider than a figure).
    const double perLine = std::max(1.0, columnWidth);
    int count = 0;
    for (const QStringView line : QStringView(lines).split(u'\n'))
        count += std::max(1, static_cast<int>(std::ceil(static_cast<double>(line.size()) / perLine)));
    return count;
}

bool XlsxFileWriter::writeRow(const ExportRow& row)
{
    if (!m_workbook)
        return false;
    const auto rowIndex = static_cast<lxw_row_t>(m_nextRow);
    // A reader sizes a row by its height as stored, so a row with a text of several lines says how
    // tall it is; before its cells, as the constant-memory mode asks.
    int lines = 1;
    for (qsizetype column = 0; column < row.size() && column < m_variables.size(); ++column) {
        if (row.at(column).kind == ExportCell::Kind::Text)
            lines = std::max(lines, lineCount(row.at(column).text, m_variables.at(column).width));
    }
    if (!setRowLines(m_data, m_nextRow, lines))
        return false;
    for (qsizetype column = 0; column < row.size(); ++column) {
        const ExportCell& cell = row.at(column);
        const auto col = static_cast<lxw_col_t>(column);
        lxw_format* format = columnFormat(column < m_variables.size() ? m_variables.at(column).kind
                                                                      : ExportVariable::Kind::Whole);
        switch (cell.kind) {
        case ExportCell::Kind::Empty:
            break;
        case ExportCell::Kind::Number:
            if (!check(m_library->worksheet_write_number(m_data, rowIndex, col, cell.number, format)))
                return false;
            break;
        case ExportCell::Kind::Text:
            if (!writeText(m_data, m_nextRow, static_cast<int>(column), cell.text, format))
                return false;
            break;
        }
    }
    ++m_nextRow;
    return true;
}

bool XlsxFileWriter::setRowLines(lxw_worksheet* sheet, int row, int lines)
{
    return lines <= 1 || check(m_library->worksheet_set_row(sheet, static_cast<lxw_row_t>(row),
                                                            kLineHeightPoints * lines, nullptr));
}

bool XlsxFileWriter::writeCodebook()
{
    using namespace ExportTexts;
    m_library->worksheet_right_to_left(m_codebook);
    m_library->worksheet_freeze_panes(m_codebook, 1, 0);
    m_library->worksheet_set_landscape(m_codebook);
    m_library->worksheet_fit_to_pages(m_codebook, 1, 0);
    m_library->worksheet_repeat_rows(m_codebook, 0, 0);
    constexpr std::array<double, 4> widths{12, 24, 70, 45};
    m_library->worksheet_set_column(m_codebook, 0, 0, widths[0], m_topFormat);
    m_library->worksheet_set_column(m_codebook, 1, 1, widths[1], m_wrapFormat);
    m_library->worksheet_set_column(m_codebook, 2, 2, widths[2], m_wrapFormat);
    m_library->worksheet_set_column(m_codebook, 3, 3, widths[3], m_wrapFormat);
    const QStringList header{codebookVariable, codebookCaption, codebookMeaning, codebookValues};
    for (int column = 0; column < header.size(); ++column) {
        if (!writeText(m_codebook, 0, column, header.at(column), m_headerFormat))
            return false;
    }
    for (qsizetype i = 0; i < m_variables.size(); ++i) {
        const ExportVariable& variable = m_variables.at(i);
        const int row = static_cast<int>(i) + 1;
        // The wrapped explanations make their rows as tall as their longest one.
        const int lines =
            std::max({lineCount(variable.caption, widths[1]), lineCount(variable.meaning, widths[2]),
                      lineCount(variable.values, widths[3])});
        if (!setRowLines(m_codebook, row, lines))
            return false;
        if (!writeText(m_codebook, row, 0, variable.name, m_topFormat) ||
            !writeText(m_codebook, row, 1, variable.caption, m_wrapFormat) ||
            !writeText(m_codebook, row, 2, variable.meaning, m_wrapFormat) ||
            (!variable.values.isEmpty() && !writeText(m_codebook, row, 3, variable.values, m_wrapFormat)))
            return false;
    }
    // The notes after a blank row, each across the caption and meaning columns' width.
    int row = static_cast<int>(m_variables.size()) + 2;
    if (!m_notes.isEmpty() && !writeText(m_codebook, row++, 0, notesHeading, m_headerFormat))
        return false;
    for (const QString& note : m_notes) {
        if (!setRowLines(m_codebook, row, lineCount(note, widths[2])) ||
            !writeText(m_codebook, row, 2, note, m_wrapFormat))
            return false;
        ++row;
    }
    return true;
}

bool XlsxFileWriter::finish()
{
    if (m_finished)
        return true;
    if (!m_workbook)
        return false;
    if (m_nextRow > 1 && !m_variables.isEmpty())
        m_library->worksheet_autofilter(m_data, 0, 0, static_cast<lxw_row_t>(m_nextRow - 1),
                                        static_cast<lxw_col_t>(m_variables.size() - 1));
    if (!writeCodebook())
        return false;
    // workbook_close writes the whole file and frees the workbook, whatever its result.
    const lxw_error closed = m_library->workbook_close(m_workbook);
    m_workbook = nullptr;
    m_data = m_codebook = nullptr;
    if (!check(closed))
        return false;
    if (!hasAllRows(m_temporaryPath, m_nextRow)) {
        m_error = ExportTexts::incompleteWorkbook;
        return false;
    }
    if (!PartFile::syncToDisk(m_temporaryPath, &m_error))
        return false;
    m_finished = true;
    return true;
}

bool XlsxFileWriter::commit()
{
    if (!finish() || !PartFile::replaceTarget(m_temporaryPath, m_targetPath, &m_error)) {
        discard();
        return false;
    }
    m_temporaryPath.clear();
    m_finished = false;
    return true;
}

void XlsxFileWriter::discard()
{
    if (m_workbook) {
        m_library->lxw_workbook_free(m_workbook);
        m_workbook = nullptr;
    }
    m_data = m_codebook = nullptr;
    if (!m_temporaryPath.isEmpty()) {
        QFile::remove(m_temporaryPath);
        m_temporaryPath.clear();
    }
    m_finished = false;
}
