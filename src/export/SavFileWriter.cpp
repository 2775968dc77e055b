#include "SavFileWriter.h"

#include "ExportTexts.h"
#include "PartFile.h"
#include "common/FileLinks.h"
#include "formatlibs/ReadStatLibrary.h"

#include <QFile>

#include <cmath>

namespace {

// SPSS keeps a text variable of at most this many bytes, and a value label of at most 120.
constexpr int kMaxTextBytes = 32767;
constexpr int kMaxLabelBytes = 120;

enum class Stored
{
    Text,
    Number,
    Coded // a text of a list, stored as its number there
};

QByteArray utf8(const QString& text)
{
    QString safe = text;
    safe.replace(QChar(u'\0'), QChar(0xFFFD));
    return safe.toUtf8();
}

// At most `bytes` bytes of the UTF-8 text, ending between two characters.
QByteArray cut(const QByteArray& text, int bytes)
{
    if (text.size() <= bytes)
        return text;
    int end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text.at(end)) & 0xC0) == 0x80)
        --end;
    return text.left(end);
}

ssize_t writeBytes(const void* data, size_t length, void* context)
{
    auto* file = static_cast<QFileDevice*>(context);
    return static_cast<ssize_t>(file->write(static_cast<const char*>(data), static_cast<qint64>(length)));
}

readstat_measure_t measureOf(ExportVariable::Level level)
{
    switch (level) {
    case ExportVariable::Level::Nominal:
        return READSTAT_MEASURE_NOMINAL;
    case ExportVariable::Level::Ordinal:
        return READSTAT_MEASURE_ORDINAL;
    case ExportVariable::Level::Scale:
        break;
    }
    return READSTAT_MEASURE_SCALE;
}

// Frees the writer however writing ends.
struct WriterHandle
{
    explicit WriterHandle(const ReadStatLibrary& library) : library(library) {}
    ~WriterHandle() { library.readstat_writer_free(writer); }
    Q_DISABLE_COPY_MOVE(WriterHandle)

    const ReadStatLibrary& library;
    readstat_writer_t* writer = library.readstat_writer_init();
};

} // namespace

SavFileWriter::~SavFileWriter()
{
    discard();
}

QList<QByteArray> SavFileWriter::noteLines(const QString& note)
{
    QList<QByteArray> lines;
    QByteArray rest = utf8(note.simplified());
    while (rest.size() > kNoteBytes) {
        QByteArray line = cut(rest, kNoteBytes);
        const qsizetype blank = line.lastIndexOf(' ');
        if (blank > 0 && rest.at(line.size()) != ' ')
            line.truncate(blank);
        lines << line;
        rest = rest.mid(line.size()).trimmed();
    }
    if (!rest.isEmpty())
        lines << rest;
    return lines;
}

bool SavFileWriter::open(const QString& targetPath, const QVector<ExportVariable>& variables)
{
    discard();
    m_error.clear();
    m_library = ReadStatLibrary::get();
    if (!m_library)
        return fail(ExportTexts::libraryMissing.arg(ReadStatLibrary::displayName()));
    m_targetPath = FileLinks::realTarget(targetPath);
    m_file = PartFile::create(m_targetPath, &m_error);
    if (!m_file)
        return false;
    m_partPath = m_file->fileName();
    m_spool = PartFile::create(m_targetPath, &m_error);
    if (!m_spool) {
        discard();
        return false;
    }
    m_spoolPath = m_spool->fileName();
    m_stream.setDevice(m_spool.get());
    m_variables = variables;
    m_columns = QVector<Column>(variables.size());
    m_rows = 0;
    return true;
}

bool SavFileWriter::writeRow(const ExportRow& row)
{
    if (!m_spool || m_finished || row.size() != m_variables.size())
        return false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const ExportCell& cell = row.at(i);
        m_stream << static_cast<quint8>(cell.kind);
        if (cell.kind == ExportCell::Kind::Number) {
            m_stream << cell.number;
        } else if (cell.kind == ExportCell::Kind::Text) {
            const QByteArray bytes = utf8(cell.text);
            m_stream << bytes;
            Column& column = m_columns[i];
            column.hasText = true;
            column.textBytes = std::max(column.textBytes, static_cast<int>(bytes.size()));
            const QStringList& categories = m_variables.at(i).categories;
            if (!categories.isEmpty() && !categories.contains(cell.text) &&
                !column.extraCategories.contains(cell.text))
                column.extraCategories << cell.text;
        }
    }
    if (m_stream.status() != QDataStream::Ok)
        return fail(m_spool->errorString());
    ++m_rows;
    return true;
}

bool SavFileWriter::fail(const QString& error)
{
    m_error = error;
    return false;
}

bool SavFileWriter::writeFile()
{
    const ReadStatLibrary& rs = *m_library;
    WriterHandle handle(rs);
    readstat_writer_t* writer = handle.writer;
    if (!writer)
        return fail(QString::fromLatin1(rs.readstat_error_message(READSTAT_ERROR_MALLOC)));
    const auto check = [this, &rs](readstat_error_t result) {
        if (result == READSTAT_OK)
            return true;
        // A failed write says more in the file system's words.
        return fail(result == READSTAT_ERROR_WRITE && m_file->error() != QFileDevice::NoError
                        ? m_file->errorString()
                        : QString::fromLatin1(rs.readstat_error_message(result)));
    };
    if (!check(rs.readstat_set_data_writer(writer, writeBytes)) ||
        !check(rs.readstat_writer_set_compression(writer, READSTAT_COMPRESS_ROWS)))
        return false;
    for (const QString& note : m_notes) {
        for (const QByteArray& line : noteLines(note))
            rs.readstat_add_note(writer, line.constData());
    }

    QVector<Stored> stored(m_variables.size());
    QVector<QStringList> codes(m_variables.size());
    QVector<readstat_variable_t*> declared(m_variables.size());
    for (qsizetype i = 0; i < m_variables.size(); ++i) {
        const ExportVariable& variable = m_variables.at(i);
        const Column& column = m_columns.at(i);
        const QByteArray name = variable.name.toLatin1();
        if (variable.kind == ExportVariable::Kind::Text)
            stored[i] = variable.categories.isEmpty() ? Stored::Text : Stored::Coded;
        else
            stored[i] = column.hasText ? Stored::Text : Stored::Number;
        readstat_variable_t* v = nullptr;
        if (stored[i] == Stored::Text) {
            // Numbers in a text column are written as the other formats write them.
            const int width =
                std::max(column.textBytes, variable.kind == ExportVariable::Kind::Text ? 1 : 24);
            if (width > kMaxTextBytes)
                return fail(ExportTexts::textTooLong.arg(variable.name));
            v = rs.readstat_add_variable(writer, name.constData(), READSTAT_TYPE_STRING,
                                         static_cast<size_t>(width));
            rs.readstat_variable_set_measure(v, READSTAT_MEASURE_NOMINAL);

        } else {
            v = rs.readstat_add_variable(writer, name.constData(), READSTAT_TYPE_DOUBLE, 0);
            rs.readstat_variable_set_measure(v, stored[i] == Stored::Coded ? READSTAT_MEASURE_NOMINAL
                                                                           : measureOf(variable.level));
            rs.readstat_variable_set_format(v, variable.kind == ExportVariable::Kind::Fraction ? "F8.2"
                                                                                               : "F8.0");
            QVector<QPair<double, QString>> labels = variable.labels;
            if (stored[i] == Stored::Coded) {
                codes[i] = variable.categories + column.extraCategories;
                for (qsizetype code = 0; code < codes[i].size(); ++code)
                    labels.append({static_cast<double>(code + 1), codes[i].at(code)});
            }
            if (variable.missingCode) {
                labels.append({*variable.missingCode, variable.missingLabel});
                if (!check(rs.readstat_variable_add_missing_double_value(v, *variable.missingCode)))
                    return false;
            }
            if (!labels.isEmpty()) {
                const QByteArray setName = "labels_" + name;
                readstat_label_set_t* set =
                    rs.readstat_add_label_set(writer, READSTAT_TYPE_DOUBLE, setName.constData());
                for (const auto& [value, label] : labels)
                    rs.readstat_label_double_value(set, value, cut(utf8(label), kMaxLabelBytes).constData());
                rs.readstat_variable_set_label_set(v, set);
            }
        }
        rs.readstat_variable_set_label(v, utf8(variable.caption).constData());
        // ReadStat makes a text's format from its display width, and SPSS wants the format as wide as
        // the text (a very long text's first part is 255 bytes).
        rs.readstat_variable_set_display_width(
            v, stored[i] == Stored::Text
                   ? std::min(static_cast<int>(rs.readstat_variable_get_storage_width(v)), 255)
                   : static_cast<int>(std::ceil(variable.width)));
        declared[i] = v;
    }

    if (!check(rs.readstat_begin_writing_sav(writer, m_file.get(), static_cast<long>(m_rows))))
        return false;
    if (!m_spool->flush() || !m_spool->seek(0))
        return fail(m_spool->errorString());
    m_stream.resetStatus();
    for (qint64 row = 0; row < m_rows; ++row) {
        if (!check(rs.readstat_begin_row(writer)))
            return false;
        for (qsizetype i = 0; i < m_variables.size(); ++i) {
            quint8 kind = 0;
            double number = 0.0;
            QByteArray text;
            m_stream >> kind;
            if (kind == static_cast<quint8>(ExportCell::Kind::Number))
                m_stream >> number;
            else if (kind == static_cast<quint8>(ExportCell::Kind::Text))
                m_stream >> text;
            const bool empty = kind == static_cast<quint8>(ExportCell::Kind::Empty);
            readstat_variable_t* v = declared.at(i);
            readstat_error_t result = READSTAT_OK;
            switch (stored.at(i)) {
            case Stored::Text:
                if (kind == static_cast<quint8>(ExportCell::Kind::Number))
                    text = ExportTable::numberText(number).toLatin1();
                result = rs.readstat_insert_string_value(writer, v, text.constData() ? text.constData() : "");
                break;
            case Stored::Number:
                if (!empty)
                    result = rs.readstat_insert_double_value(writer, v, number);
                else if (m_variables.at(i).missingCode)
                    result = rs.readstat_insert_double_value(writer, v, *m_variables.at(i).missingCode);
                else
                    result = rs.readstat_insert_missing_value(writer, v);
                break;
            case Stored::Coded:
                result = empty ? rs.readstat_insert_missing_value(writer, v)
                               : rs.readstat_insert_double_value(
                                     writer, v,
                                     static_cast<double>(codes.at(i).indexOf(QString::fromUtf8(text)) + 1));
                break;
            }
            if (!check(result))
                return false;
        }
        if (m_stream.status() != QDataStream::Ok)
            return fail(m_spool->errorString());
        if (!check(rs.readstat_end_row(writer)))
            return false;
    }
    return check(rs.readstat_end_writing(writer));
}

bool SavFileWriter::finish()
{
    if (!m_file)
        return false;
    if (m_finished)
        return true;
    if (!writeFile())
        return false;
    if (!m_file->flush()) {
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

bool SavFileWriter::commit()
{
    if (!finish() || !PartFile::replaceTarget(m_partPath, m_targetPath, &m_error)) {
        discard();
        return false;
    }
    m_partPath.clear();
    m_file.reset();
    discard(); // the spool
    return true;
}

void SavFileWriter::discard()
{
    m_stream.setDevice(nullptr);
    m_file.reset();
    m_spool.reset();
    for (QString* path : {&m_partPath, &m_spoolPath}) {
        if (!path->isEmpty()) {
            QFile::remove(*path);
            path->clear();
        }
    }
    m_finished = false;
    m_columns.clear();
    m_rows = 0;
}
