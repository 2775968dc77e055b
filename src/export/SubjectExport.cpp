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
    return {Outcome::Status::Failed, 0, error};
}

} // namespace

Outcome write(const QSqlDatabase& database, const SubjectSelection& selection, const QString& path,
              const Progress& progress)
{
    if (QFileInfo(path).isDir())
        return failure(ExportTexts::folderChosen);
    SubjectRowReader reader(database, selection);
    const int total = reader.count();
    if (total < 0 || !reader.start())
        return failure(ExportTexts::readFailed.arg(reader.lastError()));

    const auto writer = TableFileWriter::create(TableFileWriter::formatOf(path));
    const QVector<ExportVariable> variables = ExportTable::variables(SubjectRowReader::itemTexts(database));
    if (!writer->open(path, variables))
        return failure(writer->errorString());

    int written = 0;
    StoredSubject subject;
    while (true) {
        if (written % kProgressStep == 0 && progress && !progress(written, total)) {
            writer->discard();
            return {Outcome::Status::Cancelled, 0, {}};
        }
        if (!reader.next(&subject))
            break;
        if (!writer->writeRow(ExportTable::cells(subject))) {
            const QString error = writer->errorString();
            writer->discard();
            return failure(error);
        }
        ++written;
    }
    if (!reader.lastError().isEmpty()) {
        writer->discard();
        return failure(ExportTexts::readFailed.arg(reader.lastError()));
    }
    if (progress && !progress(written, total)) {
        writer->discard();
        return {Outcome::Status::Cancelled, 0, {}};
    }
    if (!writer->commit())
        return failure(writer->errorString());
    return {Outcome::Status::Written, written, {}};
}

} // namespace SubjectExport
