#pragma once

#include "common/SubjectSelection.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// The research export without any window: the selected subjects of the clinical database, with
// their answers, scores and unanswered counts, written to a .xlsx or .csv file (by the path's
// suffix). The file is complete or not there at all.
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
    QString error;    // why it failed, for the user
};

// Called before the first subject and then every few subjects with the number written so far and
// the number selected; returning false cancels the export.
using Progress = std::function<bool(int written, int total)>;

Outcome write(const QSqlDatabase& database, const SubjectSelection& selection, const QString& path,
              const Progress& progress = {});

} // namespace SubjectExport
