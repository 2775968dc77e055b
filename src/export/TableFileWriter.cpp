#include "TableFileWriter.h"

#include "CsvFileWriter.h"
#include "XlsxFileWriter.h"

std::unique_ptr<TableFileWriter> TableFileWriter::create(Format format)
{
    if (format == Format::Csv)
        return std::make_unique<CsvFileWriter>();
    return std::make_unique<XlsxFileWriter>();
}

TableFileWriter::Format TableFileWriter::formatOf(const QString& path)
{
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? Format::Csv : Format::Xlsx;
}
