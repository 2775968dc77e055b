#include "SubjectScoreReport.h"

#include "ScoringTexts.h"
#include "reports/ReportLayouts.h"
#include "reports/ReportTexts.h"

#include <algorithm>

namespace {

namespace L = ReportLayouts;
namespace T = ScoringTexts;

// The particulars: two columns of caption and value, right to left.
constexpr int kParticularsTop = 1950;
constexpr int kParticularsPitch = 420;
constexpr int kParticularsHeight = 360;

// The score table: scale name, score, unanswered items, right to left.
constexpr int kTableTop = 3500;
constexpr int kTableRowHeight = 450;
constexpr int kTableLeft = 2335;
constexpr int kUnansweredLeft = 2335;
constexpr int kScoreLeft = 4935;
constexpr int kScaleLeft = 6935;
constexpr int kTableRight = 10335;
constexpr int kCellInset = 60;

// The change table under it: seven columns, right to left, in a smaller type.
constexpr int kChangeGap = 700;
constexpr int kChangeHeadingHeight = 400;
constexpr int kChangeRowHeight = 380;
constexpr std::array<int, ChangeTable::kColumns> kChangeWidths{1250, 850, 850, 850, 850, 2050, 1300};

ReportElement cell(const QString& name, int left, int right, int top, const QString& caption)
{
    return L::label(name, {left + kCellInset, top + 45, right - left - 2 * kCellInset, kTableRowHeight - 60},
                    caption, L::nazanin(11.25), Qt::AlignHCenter);
}

// The table of the reliable change from its top; returns where it ends.
int addChangeTable(ReportBand& band, const SubjectScoreReport::ChangeSection& change, int top)
{
    const int width = kTableRight - kTableLeft;
    band.elements << L::label(QStringLiteral("ChangeHeading"), {kTableLeft, top, width, kChangeHeadingHeight},
                              change.heading, L::nazanin(11.25), Qt::AlignRight);
    const int tableTop = top + kChangeHeadingHeight + 60;
    const int rows = 1 + ScoringKey::kScaleCount;
    const int tableBottom = tableTop + rows * kChangeRowHeight;
    band.elements << L::image(QStringLiteral("ChangeTitles"), {kTableLeft, tableTop, width, kChangeRowHeight},
                              QColor(224, 224, 224));
    const QStringList headers = ChangeTable::headers();
    for (int row = 0; row < rows; ++row) {
        int right = kTableRight;
        for (int column = 0; column < ChangeTable::kColumns; ++column) {
            const int left = right - kChangeWidths[std::size_t(column)];
            const QString text =
                row == 0 ? headers.at(column) : change.rows[std::size_t(row - 1)][std::size_t(column)];
            band.elements << L::label(
                QStringLiteral("Change%1_%2").arg(row).arg(column),
                {left + 30, tableTop + row * kChangeRowHeight + 40, right - left - 60, kChangeRowHeight - 50},
                text, L::nazanin(9), Qt::AlignHCenter);
            right = left;
        }
    }
    for (int row = 0; row <= rows; ++row) {
        const int y = tableTop + row * kChangeRowHeight;
        band.elements << L::line(QStringLiteral("ChangeRule%1").arg(row), {kTableLeft, y, kTableRight, y});
    }
    int x = kTableRight;
    for (int column = 0; column <= ChangeTable::kColumns; ++column) {
        band.elements << L::line(QStringLiteral("ChangeColumn%1").arg(column), {x, tableTop, x, tableBottom});
        if (column < ChangeTable::kColumns)
            x -= kChangeWidths[std::size_t(column)];
    }
    ReportElement basis = L::label(QStringLiteral("ChangeBasis"), {kTableLeft, tableBottom + 100, width, 380},
                                   change.basis, L::nazanin(9.75), Qt::AlignRight);
    basis.growsToFit = true;
    band.elements << basis;
    return tableBottom + 100 + 380;
}

void addParticular(ReportBand& band, const QString& valueName, const QString& caption, const QString& value,
                   int column, int row)
{
    // Column 0 on the right, column 1 on the left; each caption on the right of its value.
    const int top = kParticularsTop + row * kParticularsPitch;
    const int right = column == 0 ? kTableRight : 5100;
    const int captionWidth = 1650;
    band.elements << L::label(QStringLiteral("Caption") + valueName,
                              {right - captionWidth, top, captionWidth, kParticularsHeight},
                              caption.trimmed(), L::nazanin(11.25), Qt::AlignRight)
                  << L::label(valueName,
                              {right - 5000 + 40, top, 5000 - captionWidth - 80, kParticularsHeight}, value,
                              L::nazanin(11.25), Qt::AlignRight);
}

} // namespace

namespace SubjectScoreReport {

Report build(const Sheet& sheet, const ClinicTexts& clinic)
{
    // The printed chart's letterhead, date line and footer; the chart and its data lines give way to
    // the subject's particulars and scores.
    Report report;
    report.title = T::subjectReportTitle;
    report.rows = {ReportRow()};
    ReportLayout& layout = report.layout;
    layout = L::dataR1();
    layout.name = QStringLiteral("DataRSubject");
    ReportBand& body = layout.detail;
    body.height = 7400;
    body.elements.removeIf([](const ReportElement& element) {
        return QStringList{QStringLiteral("Label8"), QStringLiteral("Label3"), QStringLiteral("Image2")}
            .contains(element.name);
    });
    layout.setCaption(L::detail, QStringLiteral("Label14"), clinic.name);
    layout.setCaption(L::detail, QStringLiteral("Label1"), T::subjectReportTitle);
    layout.setCaption(L::detail, QStringLiteral("Label2"), ReportTexts::testDateLine + sheet.testDate);
    if (clinic.showLogo)
        layout.setPicture(L::detail, QStringLiteral("Image3"), clinic.logo);
    layout.setCaption(L::pageFooter, QStringLiteral("Label5"), clinic.address);
    layout.setCaption(L::pageFooter, QStringLiteral("Label9"), clinic.contactLines);

    const ScoringKey::SubjectRecord& subject = sheet.subject;
    addParticular(body, QStringLiteral("Label15"), T::lineCode, subject.code, 0, 0);
    addParticular(body, QStringLiteral("Label16"), T::lineName, ScoringKey::fullName(subject), 1, 0);
    addParticular(body, QStringLiteral("Label19"), T::lineAge, subject.age, 0, 1);
    addParticular(body, QStringLiteral("Label20"), T::lineGender, subject.gender, 1, 1);
    addParticular(body, QStringLiteral("Label21"), T::lineMarital, subject.maritalStatus, 0, 2);
    addParticular(body, QStringLiteral("Label22"), T::lineEducation, subject.education, 1, 2);

    // The score table with its grid; the title row on light grey.
    const int rows = 1 + ScoringKey::kScaleCount;
    const int tableBottom = kTableTop + rows * kTableRowHeight;
    body.elements << L::image(QStringLiteral("TableTitles"),
                              {kTableLeft, kTableTop, kTableRight - kTableLeft, kTableRowHeight},
                              QColor(224, 224, 224));
    body.elements << cell(QStringLiteral("TitleScale"), kScaleLeft, kTableRight, kTableTop,
                          T::reportColumnScale)
                  << cell(QStringLiteral("TitleScore"), kScoreLeft, kScaleLeft, kTableTop,
                          T::reportColumnScore)
                  << cell(QStringLiteral("TitleUnanswered"), kUnansweredLeft, kScoreLeft, kTableTop,
                          T::reportColumnUnanswered);
    const std::array<QString, ScoringKey::kScaleCount> names{T::needSurvival, T::needLove, T::needFreedom,
                                                             T::needPower, T::needFun};
    bool anyUnanswered = false;
    for (int i = 0; i < ScoringKey::kScaleCount; ++i) {
        const auto scale = static_cast<std::size_t>(i);
        const int top = kTableTop + (i + 1) * kTableRowHeight;
        const QString field = QLatin1String(ScoringKey::kScales[scale].field);
        const int unanswered = ScoringKey::unansweredCount(sheet.items, ScoringKey::kScales[scale]);
        anyUnanswered = anyUnanswered || unanswered > 0;
        body.elements << cell(QStringLiteral("Scale") + field, kScaleLeft, kTableRight, top, names[scale])
                      << cell(QStringLiteral("Label%1").arg(23 + i), kScoreLeft, kScaleLeft, top,
                              sheet.scores[scale].trimmed())
                      << cell(QStringLiteral("Unanswered") + field, kUnansweredLeft, kScoreLeft, top,
                              T::reportUnansweredOfSeven.arg(unanswered));
    }
    for (int row = 0; row <= rows; ++row) {
        const int y = kTableTop + row * kTableRowHeight;
        body.elements << L::line(QStringLiteral("TableRule%1").arg(row), {kTableLeft, y, kTableRight, y});
    }
    for (const int x : {kTableLeft, kScoreLeft, kScaleLeft, kTableRight})
        body.elements << L::line(QStringLiteral("TableColumn%1").arg(x), {x, kTableTop, x, tableBottom});
    int end = tableBottom;
    if (anyUnanswered) {
        ReportElement note = L::label(QStringLiteral("UnansweredNote"),
                                      {kTableLeft, tableBottom + 150, kTableRight - kTableLeft, 400},
                                      T::reportUnansweredNote, L::nazanin(10.5), Qt::AlignRight);
        note.growsToFit = true;
        body.elements << note;
        end = tableBottom + 150 + 400;
    }
    // How the administration was entered, its timings and flags, under the table.
    int checksTop = end + (anyUnanswered ? 50 : 150);
    for (int line = 0; line < sheet.checks.size(); ++line, checksTop += 330)
        body.elements << L::label(QStringLiteral("Checks%1").arg(line),
                                  {kTableLeft, checksTop, kTableRight - kTableLeft, 330},
                                  sheet.checks.at(line), L::nazanin(10.5), Qt::AlignRight);
    if (!sheet.checks.isEmpty())
        end = checksTop;
    body.height = std::max(body.height, end + 150);
    if (sheet.change)
        body.height = std::max(body.height, addChangeTable(body, *sheet.change, end + kChangeGap) + 300);

    return report;
}

} // namespace SubjectScoreReport
