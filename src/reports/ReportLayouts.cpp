#include "ReportLayouts.h"

#include "ReportTexts.h"

#include <algorithm>
#include <array>

namespace ReportLayouts {

ReportFont nazanin(double pointSize)
{
    return {QStringLiteral("B Nazanin"), pointSize, true};
}

ReportFont titr(double pointSize)
{
    return {QStringLiteral("B Titr"), pointSize, true};
}

ReportFont calibri(double pointSize)
{
    return {QStringLiteral("Calibri"), pointSize, true};
}

ReportElement label(const QString& name, const QRect& twips, const QString& caption, const ReportFont& font,
                    Qt::Alignment alignment)
{
    ReportElement element;
    element.kind = ReportElement::Kind::Label;
    element.name = name;
    element.geometry = twips;
    element.caption = caption;
    element.font = font;
    element.alignment = alignment;
    return element;
}

ReportElement field(const QString& name, const QRect& twips, const QString& column, const ReportFont& font,
                    Qt::Alignment alignment)
{
    ReportElement element = label(name, twips, QString(), font, alignment);
    element.kind = ReportElement::Kind::Field;
    element.column = column;
    return element;
}

ReportElement image(const QString& name, const QRect& twips, const QColor& fill)
{
    ReportElement element;
    element.kind = ReportElement::Kind::Image;
    element.name = name;
    element.geometry = twips;
    element.fill = fill;
    return element;
}

ReportElement line(const QString& name, const QLine& twips)
{
    ReportElement element;
    element.kind = ReportElement::Kind::Line;
    element.name = name;
    element.line = twips;
    return element;
}

void nameBands(ReportLayout& layout)
{
    layout.reportHeader.name = reportHeader;
    layout.pageHeader.name = pageHeader;
    layout.detail.name = detail;
    layout.pageFooter.name = pageFooter;
    layout.reportFooter.name = reportFooter;
}

namespace {

// The page footer of both layouts: two rules as wide as the page's content, the clinic address on
// the right and the contact text on the left, each ending as far inside the rules as on the chart.
ReportBand clinicFooter(int height, const std::array<QString, 2>& rules, const QString& address,
                        const QString& contact, int right)
{
    constexpr int kAddressWidth = 4804;
    constexpr int kAddressInset = 209; // between the address's right edge and the rules' end
    constexpr int kContactLeft = 38;
    const int addressLeft = right - kAddressInset - kAddressWidth;
    const int contactWidth = std::min(5143, addressLeft - kContactLeft);
    ReportBand footer;
    footer.height = height;
    footer.elements = {
        line(rules[0], {0, 29, right, 29}),
        line(rules[1], {0, 67, right, 67}),
        label(address, {addressLeft, 103, kAddressWidth, 1343}, {}, titr(9.75), Qt::AlignRight),
        label(contact, {kContactLeft, 113, contactWidth, 1350}, {}, calibri(9.75)),
    };
    return footer;
}

} // namespace

ReportLayout dataR1()
{
    ReportLayout layout;
    layout.name = QStringLiteral("DataR1");
    layout.width = 10417;
    nameBands(layout);

    ReportBand& body = layout.detail;
    body.height = 9752;
    body.elements = {
        label(QStringLiteral("Label14"), {1701, 113, 8625, 587}, {}, nazanin(15.75), Qt::AlignHCenter),
        image(QStringLiteral("Image3"), {71, 35, 1471, 1286}),
        label(QStringLiteral("Label1"), {1701, 869, 8625, 549}, ReportTexts::chartReportTitle, nazanin(14.25),
              Qt::AlignHCenter),
        line(QStringLiteral("Line1"), {0, 1397, 10385, 1397}),
        line(QStringLiteral("Line2"), {37, 1435, 10417, 1435}),
        label(QStringLiteral("Label2"), {116, 1514, 5057, 267}, {}, nazanin(11.25)),
        label(QStringLiteral("Label8"), {98, 1824, 10237, 558}, {}, nazanin(11.25), Qt::AlignRight),
        label(QStringLiteral("Label3"), {98, 2508, 10237, 596}, {}, nazanin(11.25), Qt::AlignRight),
        image(QStringLiteral("Image2"), {113, 3175, 10125, 6540}),
    };
    // The data lines grow downward to show a long line whole.
    body.elements[6].growsToFit = true;
    body.elements[7].growsToFit = true;

    layout.pageFooter = clinicFooter(1501, {QStringLiteral("Line21"), QStringLiteral("Line22")},
                                     QStringLiteral("Label5"), QStringLiteral("Label9"), 10385);
    layout.pageFooter.name = pageFooter;
    layout.reportFooter.height = 30;
    return layout;
}

namespace {

// One column of the subject list: its title in the page header and its field in the detail band.
struct ListColumn
{
    const char* titleName;
    QString title;
    int titleLeft;
    int titleWidth;
    const char* fieldName;
    int fieldLeft;
    int fieldWidth;
    const char* column;
    bool score;
};

// The grid of the column titles and the rows: vertical lines between the columns.
constexpr std::array<int, 13> kGridX{0,    768,  1450, 2154, 2826, 3594, 5760,
                                     6474, 7167, 7725, 8379, 8946, 9513};
constexpr int kTableWidth = kGridX.back();

void addVerticalGrid(ReportBand& band, const QString& prefix)
{
    for (std::size_t i = 0; i < kGridX.size(); ++i)
        band.elements << line(QStringLiteral("%1%2").arg(prefix).arg(i),
                              {kGridX[i], 0, kGridX[i], band.height});
}

} // namespace

ReportLayout dataRPrint()
{
    namespace T = ReportTexts;
    ReportLayout layout;
    layout.name = QStringLiteral("DataRPrint");
    // As wide as the table, so that the table, its header and its footer are centred on the page.
    layout.width = kTableWidth;
    nameBands(layout);

    ReportBand& header = layout.reportHeader;
    header.height = 1605;
    header.elements = {
        image(QStringLiteral("Image2"), {0, 0, 9510, 1605}, QColor(192, 192, 192)),
        label(QStringLiteral("Label9"), {56, 113, 9373, 776}, {}, titr(14.25), Qt::AlignHCenter),
        label(QStringLiteral("Label3"), {1436, 945, 6105, 510}, T::subjectListTitle, nazanin(12),
              Qt::AlignHCenter),
    };

    // Right to left, as the table reads.
    const std::array<ListColumn, 12> columns{{
        {"Label5", T::columnRow, 8945, 525, "Text1", 9008, 495, "Code", false},
        {"Label2", T::columnCode, 8378, 525, "txtCode", 8441, 480, "Code", false},
        {"Label7", T::columnGroup, 7721, 660, "txtGroup1", 7721, 690, "Group", false},
        {"Label10", T::columnAge, 7155, 600, "txtScore", 7200, 474, "Sen", false},
        {"Label6", T::columnGender, 6528, 600, "Text6", 6528, 570, "Jens", false},
        {"Label4", T::columnMarital, 5856, 594, "Text5", 5760, 675, "Taahol", false},
        {"Label1", T::columnEducation, 3744, 1830, "Text4", 3648, 2118, "Tahsil", false},
        {"Label11", QStringLiteral("S"), 2880, 675, "txtBPosetive", 2912, 704, "S", true},
        {"Label12", QStringLiteral("L"), 2208, 576, "txtConterlo", 2208, 645, "L", true},
        {"Label13", QStringLiteral("F"), 1536, 480, "txtEtminan", 1536, 645, "F1", true},
        {"Label17", QStringLiteral("P"), 864, 525, "txtneyaz", 800, 645, "P", true},
        {"Label18", QStringLiteral("F"), 192, 390, "txtself", 0, 805, "F2", true},
    }};

    ReportBand& titles = layout.pageHeader;
    titles.height = 492;
    titles.elements << image(QStringLiteral("Image1"), {0, 0, 9510, 484}, QColor(224, 224, 224));
    ReportBand& rows = layout.detail;
    rows.height = 405;
    for (const ListColumn& column : columns) {
        const ReportFont titleFont =
            nazanin(QLatin1String(column.titleName) == QLatin1String("Label17") ? 9 : 9.75);
        titles.elements << label(QLatin1String(column.titleName),
                                 {column.titleLeft, column.score ? 96 : 16, column.titleWidth, 465},
                                 column.title, titleFont, Qt::AlignHCenter);
        rows.elements << field(QLatin1String(column.fieldName),
                               {column.fieldLeft, 0, column.fieldWidth, column.score ? 400 : 360},
                               QLatin1String(column.column), nazanin(9.75), Qt::AlignHCenter);
    }
    // The first column numbers the rows in the order they are printed.
    rows.elements.first().numbersRows = true;

    titles.elements << line(QStringLiteral("HeaderTop"), {0, 0, 9512, 0})
                    << line(QStringLiteral("HeaderBottom"), {0, 481, 9510, 481});
    addVerticalGrid(titles, QStringLiteral("HeaderGrid"));
    rows.elements << line(QStringLiteral("RowBottom"), {0, 378, 9504, 378});
    addVerticalGrid(rows, QStringLiteral("RowGrid"));

    // The footer spans the table, not more: its rules end where the table's grid ends.
    layout.pageFooter = clinicFooter(1470, {QStringLiteral("Line26"), QStringLiteral("Line27")},
                                     QStringLiteral("Label8"), QStringLiteral("Label14"), kTableWidth);
    layout.pageFooter.name = pageFooter;
    return layout;
}

void setChartLetterhead(ReportLayout& layout, const ClinicTexts& clinic)
{
    layout.setCaption(pageFooter, QStringLiteral("Label9"), clinic.contactLines);
    layout.setCaption(pageFooter, QStringLiteral("Label5"), clinic.address);
    layout.setCaption(detail, QStringLiteral("Label14"), clinic.name);
    if (clinic.showLogo)
        layout.setPicture(detail, QStringLiteral("Image3"), clinic.logo);
}

} // namespace ReportLayouts
