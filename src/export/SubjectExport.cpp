#include "SubjectExport.h"

#include "Anonymising.h"
#include "ExportTexts.h"
#include "SubjectRowReader.h"
#include "TableFileWriter.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>

namespace SubjectExport {

namespace {

constexpr int kProgressStep = 256;

Outcome failure(const QString& error)
{
    return {Outcome::Status::Failed, 0, 0, error, false};
}

Outcome writeFailure(const QString& error)
{
    return {Outcome::Status::Failed, 0, 0, error, true};
}

// The export reads on a connection of its own: on the clinic server a streamed query is lost as
// soon as another statement runs on its connection, and the windows behind the progress dialog
// go on reading theirs while they repaint.
class OwnConnection final
{
public:
    explicit OwnConnection(const QSqlDatabase& database)
    {
        static QAtomicInt serial;
        m_name = QStringLiteral("research export %1").arg(serial.fetchAndAddRelaxed(1));
        m_database = QSqlDatabase::cloneDatabase(database, m_name);
        if (!m_database.open())
            m_error = m_database.lastError().text();
    }
    ~OwnConnection()
    {
        m_database.close();
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    Q_DISABLE_COPY_MOVE(OwnConnection)

    const QSqlDatabase& database() const { return m_database; }
    bool isOpen() const { return m_database.isOpen(); }
    const QString& error() const { return m_error; }

private:
    QString m_name;
    QSqlDatabase m_database;
    QString m_error;
};

} // namespace

Outcome write(const QSqlDatabase& database, const SubjectSelection& selection, const QString& path,
              const Progress& progress, const Finisher& finisher, const Options& options)
{
    if (QFileInfo(path).isDir())
        return failure(ExportTexts::folderChosen);
    const ExportLayout layout{options.perAdministration, !options.anonymisingKey.isEmpty()};
    if (layout.anonymised && options.anonymisingKey.size() != Anonymising::kKeyBytes)
        return failure(ExportTexts::keyInvalid);
    // Declared before the reader, which must be gone before its connection.
    const OwnConnection connection(database);
    if (!connection.isOpen())
        return failure(ExportTexts::readFailed.arg(connection.error()));
    // Read before the rows' query starts streaming on the connection.
    const QVector<ExportVariable> variables =
        ExportTable::variables(SubjectRowReader::itemTexts(connection.database()), layout);
    SubjectRowReader reader(connection.database(), selection, options.perAdministration);
    const int total = reader.count();
    if (total < 0 || !reader.start())
        return failure(ExportTexts::readFailed.arg(reader.lastError()));

    // Shared with the finishing work, which may run on another thread.
    const std::shared_ptr<TableFileWriter> writer = TableFileWriter::create(TableFileWriter::formatOf(path));
    writer->setNotes(ExportTable::notes(layout));
    if (!writer->open(path, variables))
        return writeFailure(writer->errorString());

    int written = 0;
    int reported = -1;
    StoredSubject subject;
    while (true) {
        const int read = reader.subjectsRead();
        if (read != reported && read % kProgressStep == 0 && progress && !progress(read, total)) {
            writer->discard();
            return {Outcome::Status::Cancelled, 0, 0, {}, false};
        }
        reported = read;
        if (!reader.next(&subject))
            break;
        if (layout.anonymised)
            Anonymising::apply(options.anonymisingKey, &subject);
        if (!writer->writeRow(ExportTable::cells(subject, layout))) {
            const QString error = writer->errorString();
            writer->discard();
            return writeFailure(error);
        }
        ++written;
    }
    if (!reader.lastError().isEmpty()) {
        writer->discard();
        return failure(ExportTexts::readFailed.arg(reader.lastError()));
    }
    if (progress && !progress(reader.subjectsRead(), total)) {
        writer->discard();
        return {Outcome::Status::Cancelled, 0, 0, {}, false};
    }
    const Work finishing = [writer] { return writer->finish(); };
    const std::optional<bool> finished = finisher ? finisher(finishing) : std::optional<bool>(finishing());
    if (!finished) {
        writer->discard();
        return {Outcome::Status::Cancelled, 0, 0, {}, false};
    }
    if (!*finished) {
        const QString error = writer->errorString();
        writer->discard();
        return writeFailure(error);
    }
    if (!writer->commit())
        return writeFailure(writer->errorString());
    return {Outcome::Status::Written, reader.subjectsWithRows(), written, {}, false};
}

} // namespace SubjectExport
