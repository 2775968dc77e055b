#include "ReportPreview.h"

#include "ReportRenderer.h"
#include "ReportTexts.h"
#include "common/BidiText.h"
#include "common/CommonTexts.h"
#include "common/FileProblem.h"
#include "common/Prompts.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

#include <algorithm>

namespace {

// A progress dialog while a long report is drawn. The windows keep repainting; the user's input
// waits until the drawing is done, so that nothing can close the report or start another print
// beneath it.
class DrawingProgress final
{
public:
    DrawingProgress(QWidget* parent, const QString& title)
        : m_dialog(ReportTexts::drawingProgress, QString(), 0, 1, parent)
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setCancelButton(nullptr);
        m_dialog.setMinimumDuration(kShowAfterMs);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_sinceEvents.start();
    }

    ReportRenderer::Progress callback()
    {
        return [this](int drawn, int total) {
            if (m_sinceEvents.elapsed() < kEventIntervalMs)
                return;
            m_dialog.setMaximum(std::max(total, 1));
            m_dialog.setValue(std::clamp(drawn, 0, std::max(total, 1)));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_sinceEvents.restart();
        };
    }

private:
    static constexpr int kShowAfterMs = 300;
    static constexpr int kEventIntervalMs = 30;
    QProgressDialog m_dialog;
    QElapsedTimer m_sinceEvents;
};

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
    bool written = false;
    {
        DrawingProgress progress(parent, report.title);
        written = ReportRenderer::writePdf(report, path, progress.callback());
    }
    if (!written) {
        prompts.message(parent, CommonTexts::warningTitle,
                        withWriteProblem(ReportTexts::pdfNotSaved + QStringLiteral("\r\n") +
                                             BidiText::isolated(QDir::toNativeSeparators(path)),
                                         path),
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
                     [&report, &preview](QPrinter* target) {
                         DrawingProgress progress(&preview, report.title);
                         ReportRenderer::render(report, *target, progress.callback());
                     });
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
