#include "SubjectExport.h"

#include "ExportTexts.h"
#include "SubjectRowReader.h"
#include "TableFileWriter.h"

#include <QFileInfo>

namespace SubjectExport {

namespace {

constexpr int kProgressStep = 256;

Outcome failure(const QString& error)
{
    return {Outcome::Status::Failed, 0, error, false};
}

Outcome writeFailure(const QString& error)
{
    return {Outcome::Status::Failed, 0, error, true};
}

} // namespace

Outcome write(const QSqlDatabase& database, const SubjectSelection& selection, const QString& path,
              const Progress& progress, const Finisher& finisher)
{
    if (QFileInfo(path).isDir())
        return failure(ExportTexts::folderChosen);
    SubjectRowReader reader(database, selection);
    const int total = reader.count();
    if (total < 0 || !reader.start())
        return failure(ExportTexts::readFailed.arg(reader.lastError()));

    // Shared with the finishing work, which may run on another thread.
    const std::shared_ptr<TableFileWriter> writer = TableFileWriter::create(TableFileWriter::formatOf(path));
    const QVector<ExportVariable> variables = ExportTable::variables(SubjectRowReader::itemTexts(database));
    if (!writer->open(path, variables))
        return writeFailure(writer->errorString());

    int written = 0;
    StoredSubject subject;
    while (true) {
        if (written % kProgressStep == 0 && progress && !progress(written, total)) {
            writer->discard();
            return {Outcome::Status::Cancelled, 0, {}, false};
        }
        if (!reader.next(&subject))
            break;
        if (!writer->writeRow(ExportTable::cells(subject))) {
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
    if (progress && !progress(written, total)) {
        writer->discard();
        return {Outcome::Status::Cancelled, 0, {}, false};
    }
    const Work finishing = [writer] { return writer->finish(); };
    const std::optional<bool> finished = finisher ? finisher(finishing) : std::optional<bool>(finishing());
    if (!finished) {
        writer->discard();
        return {Outcome::Status::Cancelled, 0, {}, false};
    }
    if (!*finished) {
        const QString error = writer->errorString();
        writer->discard();
        return writeFailure(error);
    }
    if (!writer->commit())
        return writeFailure(writer->errorString());
    return {Outcome::Status::Written, written, {}, false};
}

} // namespace SubjectExport
