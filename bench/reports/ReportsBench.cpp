// Times the print of 10,000 subjects: reading them from DABSH.skn, laying the subject list out
// page after page and writing it as a PDF file, as the preview's PDF command does. Prints the
// median of a few runs in seconds; not a test: run build/bench/bench_reports by hand.

#include "BenchSupport.h"
#include "datastore/Database.h"
#include "reports/ReportRenderer.h"
#include "reports/SubjectListReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kSubjects = 10000;
constexpr int kRuns = 3;
} // namespace

int main(int argc, char* argv[])
{
    BenchSupport::useOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path();
    if (!BenchSupport::openFilledFolder(folder, kSubjects))
        return 1;

    ClinicTexts clinic;
    clinic.name = QStringLiteral("مرکز مشاوره آرامش");
    clinic.address = QStringLiteral("تهران، خيابان وليعصر، پلاک 12");
    clinic.contactLines = QStringLiteral("تلفن 021-55501234\r\nwww.aramesh.example\r\n");
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));

    double selectMs = 0;
    const double total = BenchSupport::medianMilliseconds(kRuns, [&](int) {
        QElapsedTimer select;
        select.start();
        const QVector<ReportRow> rows =
            SubjectListReport::selectedSubjects(folder, SubjectSelection{{}, {}, {}});
        selectMs = static_cast<double>(select.nsecsElapsed()) / 1e6;
        if (rows.size() != kSubjects ||
            !ReportRenderer::writePdf(SubjectListReport::build(rows, &clinic), pdf))
            std::printf("the print failed\n");
    });

    std::printf("subjects: %d, runs: %d, PDF size: %.1f MB\n", kSubjects, kRuns,
                static_cast<double>(QFileInfo(pdf).size()) / 1e6);
    std::printf("read the subjects:               %.3f s (last run)\n", selectMs / 1000.0);
    std::printf("print 10,000 subjects to PDF:    %.2f s (median)\n", total / 1000.0);
    Database::closeProgramDatabases(folder);
    return 0;
}
