#pragma once

#include <QString>

// The texts of the printed reports and their preview.
namespace ReportTexts {

// Fixed captions of the two report layouts.
inline const QString chartReportTitle = QStringLiteral("پرسشنامه ولمورا تاروين");
inline const QString subjectListTitle = QStringLiteral("گزارش نتيجه  آزمون ولمورا تاروين");

// The date line of a printed result, followed by the test date.
inline const QString testDateLine = QStringLiteral("تاريخ اجراي آزمون: ");

// Column titles of the subject list, right to left.
inline const QString columnRow = QStringLiteral("رديف");
inline const QString columnCode = QStringLiteral("کد");
inline const QString columnGroup = QStringLiteral("گروه");
inline const QString columnAge = QStringLiteral("سن");
inline const QString columnGender = QStringLiteral("جنس");
inline const QString columnMarital = QStringLiteral("تاهل");
inline const QString columnEducation = QStringLiteral("تحصيلات");

// The preview's own command that saves the report as a PDF file, for a clinic without a printer.
inline const QString savePdf = QStringLiteral("ذخيره PDF");
inline const QString savePdfCaption = QStringLiteral("ذخيره گزارش به صورت PDF");
inline const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
inline const QString pdfSaved = QStringLiteral("فايل PDF ساخته شد");
inline const QString pdfNotSaved = QStringLiteral("فايل PDF ساخته نشد");
// Shown while a long report is drawn for the preview or into a PDF file.
inline const QString drawingProgress = QStringLiteral("در حال آماده سازي گزارش ...");

} // namespace ReportTexts
