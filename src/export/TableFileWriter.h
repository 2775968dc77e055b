#pragma once

#include "ExportTable.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// Writes a table to a file so that the file is either complete or untouched: everything goes to a
// temporary file beside the target, which replaces the target only when complete. Until then an
// earlier file of that name stays as it was; a failure or a discard leaves no trace.
class TableFileWriter
{
public:
    enum class Format
    {
        Xlsx,
        Csv,
        Sav
    };

    virtual ~TableFileWriter() = default;

    // Lines about the rows as a whole for the codebook, where the format has one; given before open.
    virtual void setNotes(const QStringList& notes) { m_notes = notes; }

    // Starts the temporary file for the target and writes the header row of variable names.
    virtual bool open(const QString& targetPath, const QVector<ExportVariable>& variables) = 0;
    virtual bool writeRow(const ExportRow& row) = 0;
    // Completes the temporary file after the last row: for a large workbook the packing takes
    // seconds. It touches nothing but this writer and its temporary file, so it may run on a
    // pooled thread while no other call is made on the writer.
    virtual bool finish() = 0;
    // Puts the finished file in the target's place (finishing it first when that was not done).
    virtual bool commit() = 0;
    // Drops what was written; the target stays as it was.
    virtual void discard() = 0;
    // Why the last step failed, for the user.
    virtual QString errorString() const = 0;

    static std::unique_ptr<TableFileWriter> create(Format format);
    // .csv (in any letter case) is CSV, .sav the SPSS file, everything else the workbook.
    static Format formatOf(const QString& path);

protected:
    QStringList m_notes;
};
