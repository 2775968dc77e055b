#pragma once

#include "TableFileWriter.h"

#include <QByteArray>
#include <QDataStream>
#include <QHash>
#include <QTemporaryFile>

#include <memory>

struct ReadStatLibrary;

// The table as an SPSS data file (.sav) through ReadStat, in UTF-8: every variable with its
// Persian caption as label, its measurement level and display width; labelled values where the
// variable has them (the answer coding; gender and marital status stored as numbers with their
// texts as labels); an empty answer or score stored as its missing code, labelled and declared
// missing; the codebook's notes as the file's documents. The rows are compressed as SPSS does.
//
// The file's header must say how many rows follow and how wide every text column is, which is
// known only after the last row: the rows go to a spool file beside the target first (owner-only,
// like the file itself) and the .sav is written from it in finish(), where the workbook is packed.
// Texts that do not fit the declared form of their variable are kept rather than lost: a number
// variable with a text in any row (such as an answer stored as "x") becomes a text variable, and a
// gender or marital status outside the registration's list gets a label of its own. SPSS cannot
// hold a NUL in a text; it becomes U+FFFD.
class SavFileWriter final : public TableFileWriter
{
public:
    ~SavFileWriter() override;

    bool open(const QString& targetPath, const QVector<ExportVariable>& variables) override;
    bool writeRow(const ExportRow& row) override;
    bool finish() override;
    bool commit() override;
    void discard() override;
    QString errorString() const override { return m_error; }

    // A document line of SPSS holds at most this many bytes.
    static constexpr int kNoteBytes = 80;
    // The note split into lines of at most kNoteBytes UTF-8 bytes, at blanks where there are any.
    static QList<QByteArray> noteLines(const QString& note);

    // What a column's rows held, for its declaration.
    struct Column
    {
        int textBytes = 0;    // the longest text, in UTF-8 bytes
        bool hasText = false; // a text among the cells
        QStringList extraCategories;
    };

private:
    bool writeFile();
    bool fail(const QString& error);

    const ReadStatLibrary* m_library = nullptr;
    QString m_targetPath; // the real target, a symbolic link resolved
    std::unique_ptr<QTemporaryFile> m_file;
    std::unique_ptr<QTemporaryFile> m_spool;
    QDataStream m_stream;
    QString m_partPath;
    QString m_spoolPath;
    bool m_finished = false;
    QVector<ExportVariable> m_variables;
    QVector<Column> m_columns;
    qint64 m_rows = 0;
    QString m_error;
};
