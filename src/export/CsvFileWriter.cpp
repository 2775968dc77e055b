#include "CsvFileWriter.h"

#include "PartFile.h"
#include "common/FileLinks.h"

#include <QFile>

namespace {

constexpr qsizetype kFlushSize = 1 << 20;

bool startsLikeFormula(const QString& text)
{
    // Spreadsheets skip leading blanks before deciding, so the first other character counts.
    // Calc also passes over control characters (a NUL, a tab, a CR …) and then runs what follows,
    // so any of them in front is as dangerous as the formula sign itself.
    for (const QChar c : text) {
        if (c == u' ')
            continue;
        return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c.category() == QChar::Other_Control;
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

CsvFileWriter::~CsvFileWriter()
{
    discard();
}

bool CsvFileWriter::open(const QString& targetPath, const QVector<ExportVariable>& variables)
{
    discard();
    m_error.clear();
    m_targetPath = FileLinks::realTarget(targetPath);
    m_file = PartFile::create(m_targetPath, &m_error);
    if (!m_file)
        return false;
    m_partPath = m_file->fileName();
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
    if (!m_file || m_finished)
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

bool CsvFileWriter::finish()
{
    if (!m_file)
        return false;
    if (m_finished)
        return true;
    if (!flush() || !m_file->flush()) {
        if (m_error.isEmpty())
            m_error = m_file->errorString();
        return false;
    }
    m_file->close();
    if (m_file->error() != QFileDevice::NoError) {
        m_error = m_file->errorString();
        return false;
    }
    if (!PartFile::syncToDisk(m_partPath, &m_error))
        return false;
    m_finished = true;
    return true;
}

bool CsvFileWriter::commit()
{
    if (!finish() || !PartFile::replaceTarget(m_partPath, m_targetPath, &m_error)) {
        discard();
        return false;
    }
    m_partPath.clear();
    m_file.reset();
    m_finished = false;
    return true;
}

void CsvFileWriter::discard()
{
    m_file.reset();
    if (!m_partPath.isEmpty()) {
        QFile::remove(m_partPath);
        m_partPath.clear();
    }
    m_finished = false;
    m_buffer.clear();
}
