#include "TableFileWriter.h"

#include "CsvFileWriter.h"
#include "SavFileWriter.h"
#include "XlsxFileWriter.h"

std::unique_ptr<TableFileWriter> TableFileWriter::create(Format format)
{
    if (format == Format::Csv)
        return std::make_unique<CsvFileWriter>();
    if (format == Format::Sav)
        return std::make_unique<SavFileWriter>();
    return std::make_unique<XlsxFileWriter>();
}

TableFileWriter::Format TableFileWriter::formatOf(const QString& path)
{
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return Format::Csv;
    if (path.endsWith(QLatin1String(".sav"), Qt::CaseInsensitive))
        return Format::Sav;
    return Format::Xlsx;
}
