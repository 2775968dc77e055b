#pragma once

#include "common/SubjectSelection.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// The research export without any window: the selected subjects of the clinical database, with
// their answers, scores and unanswered counts, written to a .xlsx, .csv or .sav file (by the
// path's suffix). The file is complete or not there at all.
namespace SubjectExport {

struct Outcome
{
    enum class Status
    {
        Written,
        Cancelled,
        Failed
    };
    Status status = Status::Failed;
    int subjects = 0; // written subjects
    int rows = 0;     // written rows: the subjects, or their administrations
    QString error;    // why it failed, for the user
    // The file could not be written (rather than the subjects read): the user is told why in words
    // of the file system as well.
    bool writeFailed = false;
};

// Called before the first subject and then every few subjects with the number written so far and
// the number selected; returning false cancels the export.
using Progress = std::function<bool(int written, int total)>;

// The file's last phase, after the last row: the workbook packed into its file and read back,
// which takes seconds for a large one. A finisher runs the work (safe on a pooled thread, see
// TableFileWriter::finish) and returns its result once it has ended, or nullopt when the user
// cancelled meanwhile: then no file is made. Without a finisher the work runs in place.
using Work = std::function<bool()>;
using Finisher = std::function<std::optional<bool>(const Work& work)>;

struct Options
{
    bool perAdministration = false;
    // Not empty: the export is anonymised with this clinic key (see Anonymising).
    QByteArray anonymisingKey;
};

Outcome write(const QSqlDatabase& database, const SubjectSelection& selection, const QString& path,
              const Progress& progress = {}, const Finisher& finisher = {}, const Options& options = {});

} // namespace SubjectExport
