#pragma once

#include <QString>

// Which subjects a list shows and in which order, as the subject finder or the scoring window hold
// them: the `IDE` rows whose column equals the value as a whole text (every row when the column is
// empty), ordered by a column. Prints and exports take the same rows the user saw.
struct SubjectSelection
{
    QString filterColumn;
    QString filterValue;
    QString orderColumn = QStringLiteral("Code");
};
