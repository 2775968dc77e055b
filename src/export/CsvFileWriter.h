#pragma once

#include "TableFileWriter.h"

#include <QByteArray>
#include <QTemporaryFile>

#include <memory>

// The table as CSV the way spreadsheet programs read Persian without asking: UTF-8 with a byte
// order mark, commas, CR LF line ends, and fields quoted as RFC 4180 says (a field with a comma,
// a double quote, CR or LF is enclosed in double quotes and its double quotes are doubled).
//
// A spreadsheet opening a CSV runs a field that starts with = + - @ (or a control character) as a formula,
// so a subject named =HYPERLINK(...) could fetch or launch something on the researcher's machine.
// Such a text field gets an apostrophe in front, as OWASP advises: Excel and Calc then show it as
// text, and a reader of the raw file sees plainly that a character was added. Numbers are never
// touched; they carry no sign here.
class CsvFileWriter final : public TableFileWriter
{
public:
    ~CsvFileWriter() override;

    bool open(const QString& targetPath, const QVector<ExportVariable>& variables) override;
    bool writeRow(const ExportRow& row) override;
    bool finish() override;
    bool commit() override;
    void discard() override;
    QString errorString() const override { return m_error; }

    // One field as it stands between the commas.
    static QString field(const ExportCell& cell);

private:
    bool append(const QString& line);
    bool flush();

    QString m_targetPath; // the real target, a symbolic link resolved
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_partPath;
    bool m_finished = false;
    QByteArray m_buffer;
    QString m_error;
};
