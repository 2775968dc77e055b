#include "RareWindows.h"

#include "charts/FrmNemudar1.h"
#include "common/VendorLinks.h"
#include "export/ExportCommand.h"
#include "reports/ReportPreview.h"
#include "reports/SubjectListReport.h"
#include "scoring/FrmkLID.h"
#include "update/FrmUpdate.h"

#include <QApplication>
#include <QUrl>

namespace {

class LinkedRareWindows final : public RareWindows
{
public:
    QWidget* makeScoring(const AppContext& context) override { return new FrmkLID(context); }
    QWidget* makeNeedsChart(const AppContext& context) override { return new FrmNemudar1(context); }
    void setNeedsChartInput(QWidget* chart, const NeedsChartInput& input) override
    {
        static_cast<FrmNemudar1*>(chart)->setInput(input);
    }
    bool updateChosen(const AppContext& context, QWidget* parent) override
    {
        FrmUpdate check(context, QUrl(VendorLinks::latestVersionFile), parent);
        return check.exec() == QDialog::Accepted;
    }
    void printSubjectList(const AppContext& context, const SubjectSelection& selection,
                          const ClinicTexts* letterhead) override
    {
        const Report report = SubjectListReport::build(
            SubjectListReport::selectedSubjects(context.programFolder, selection), letterhead);
        ReportPreview::show(QApplication::activeWindow(), report, *context.prompts);
    }
    void exportSubjects(const AppContext& context, const SubjectSelection& selection,
                        QWidget* parent) override
    {
        ExportCommand(context, parent).run(selection);
    }
};

} // namespace

RareWindows& linkedRareWindows()
{
    static LinkedRareWindows windows;
    return windows;
}
