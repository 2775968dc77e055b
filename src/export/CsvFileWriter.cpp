#include "CsvFileWriter.h"

namespace {

constexpr qsizetype kFlushSize = 1 << 20;

bool startsLikeFormula(const QString& text)
{
    // Spreadsheets skip leading blanks before deciding, so the first other character counts.
    for (const QChar c : text) {
        if (c == u' ')
            continue;
        return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
    }
    return false;
}

} // namespace

QString CsvFileWriter::field(const ExportCell& cell)
{
    switch (cell.kind) {
    case ExportCell::Kind::Empty:
        return {};
    case ExportCell::Kind::Number:
        return ExportTable::numberText(cell.number);
    case ExportCell::Kind::Text:
        break;
    }
    QString text = cell.text;
    if (startsLikeFormula(text))
        text.prepend(u'\'');
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n')) {
        text.replace(u'"', QStringLiteral("\"\""));
        return u'"' + text + u'"';
    }
    return text;
}

bool CsvFileWriter::open(const QString& targetPath, const QVector<ExportVariable>& variables)
{
    m_file = std::make_unique<QSaveFile>(targetPath);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_buffer = QByteArrayLiteral("\xEF\xBB\xBF");
    QStringList names;
    for (const ExportVariable& variable : variables)
        names << field(ExportCell::fromText(variable.name));
    return append(names.join(u','));
}

bool CsvFileWriter::writeRow(const ExportRow& row)
{
    QString line;
    line.reserve(row.size() * 4);
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (i > 0)
            line += u',';
        line += field(row.at(i));
    }
    return append(line);
}

bool CsvFileWriter::append(const QString& line)
{
    if (!m_file)
        return false;
    m_buffer += line.toUtf8();
    m_buffer += "\r\n";
    return m_buffer.size() < kFlushSize || flush();
}

bool CsvFileWriter::flush()
{
    if (m_buffer.isEmpty())
        return true;
    if (m_file->write(m_buffer) != m_buffer.size()) {
        m_error = m_file->errorString();
        return false;
    }
    m_buffer.clear();
    return true;
}

bool CsvFileWriter::commit()
{
    if (!m_file)
        return false;
    if (!flush()) {
        discard();
        return false;
    }
    const bool committed = m_file->commit();
    if (!committed)
        m_error = m_file->errorString();
    m_file.reset();
    return committed;
}

void CsvFileWriter::discard()
{
    if (m_file)
        m_file->cancelWriting();
    m_file.reset(); // an uncommitted QSaveFile removes its temporary file
    m_buffer.clear();
}
