#include "ReportPreview.h"

#include "ReportRenderer.h"
#include "ReportTexts.h"
#include "common/CommonTexts.h"
#include "common/Prompts.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace {

std::function<void(const Report&)>& testHandler()
{
    static std::function<void(const Report&)> handler;
    return handler;
}

} // namespace

namespace ReportPreview {

void setHandlerForTests(std::function<void(const Report&)> handler)
{
    testHandler() = std::move(handler);
}

bool savePdf(QWidget* parent, const Report& report, Prompts& prompts)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(documents).filePath(report.layout.name + QStringLiteral(".pdf"));
    QString path =
        prompts.saveFileName(parent, ReportTexts::savePdfCaption, suggested, ReportTexts::pdfFilter);
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (!ReportRenderer::writePdf(report, path)) {
        prompts.message(parent, CommonTexts::warningTitle,
                        ReportTexts::pdfNotSaved + QStringLiteral("\r\n") + QDir::toNativeSeparators(path),
                        Prompts::Icon::Exclamation, true);
        return false;
    }
    prompts.notice(parent, ReportTexts::pdfSaved);
    return true;
}

void show(QWidget* parent, const Report& report, Prompts& prompts)
{
    if (testHandler()) {
        testHandler()(report);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    ReportRenderer::applyPageSetup(printer);
    printer.setDocName(report.title);

    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(report.title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&report](QPrinter* target) { ReportRenderer::render(report, *target); });
    if (auto* toolbar = preview.findChild<QToolBar*>()) {
        toolbar->addSeparator();
        QAction* pdf = toolbar->addAction(ReportTexts::savePdf);
        pdf->setObjectName(QStringLiteral("SavePdf"));
        QObject::connect(pdf, &QAction::triggered, &preview,
                         [&preview, &report, &prompts] { savePdf(&preview, report, prompts); });
    }
    // Maximized; sized to the screen as well, for desktops whose window manager ignores the state.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    preview.exec();
}

} // namespace ReportPreview
