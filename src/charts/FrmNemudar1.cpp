#include "FrmNemudar1.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"

#include "ChartElements.h"
#include "ChartReport.h"
#include "ChartTexts.h"
#include "NeedsChartGeometry.h"
#include "WordExport.h"
#include "common/BidiText.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/FileProblem.h"
#include "common/Navigator.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "reports/ReportPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <cerrno>

namespace G = NeedsChartGeometry;

namespace {

// A score text as a value label shows it: the window reads right to left, where "2." would show
// its point on the left of the figure; as a unit of its own direction it reads as stored.
QString shownScore(const QString& score)
{
    return BidiText::isolated(score);
}

// The stored score text back from a value label's text.
QString storedScore(QString shown)
{
    shown.remove(BidiText::kLeftToRightIsolate).remove(BidiText::kPopDirectionalIsolate);
    return shown;
}

} // namespace

FrmNemudar1::FrmNemudar1(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmNemudar1"));
    // A fixed window without title text; the chart's own title is drawn inside it.
    setWindowTitle(QString());
    setAccessibleName(ChartTexts::title);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsSize(G::kClientSize.width(), G::kClientSize.height()));
    move(twipsPoint(G::kWindowPosition.x(), G::kWindowPosition.y()));

    // No skin: the chart keeps its own grey so that its colours read the same for every clinic.
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, G::kBackground);
    grey.setColor(QPalette::WindowText, Qt::black);
    setPalette(grey);

    m_theme = Database::openView(m_context.dataFolder, Database::File::Theme, QStringLiteral("Theme"));

    buildPlot();
    buildLabels();
    buildCommandBar();

    m_modeText = new QLineEdit(this);
    m_modeText->setObjectName(QStringLiteral("Text3"));
    m_modeText->hide();
    m_documentText = new QPlainTextEdit(this);
    m_documentText->setObjectName(QStringLiteral("Txtid"));
    m_documentText->hide();

    // Half a second in the print look lets the window repaint before it is captured.
    for (QTimer** timer : {&m_printTimer, &m_exportTimer}) {
        *timer = new QTimer(this);
        (*timer)->setSingleShot(true);
        (*timer)->setInterval(500);
    }
    m_printTimer->setObjectName(QStringLiteral("Timer1"));
    m_exportTimer->setObjectName(QStringLiteral("Timer2"));
    connect(m_printTimer, &QTimer::timeout, this, &FrmNemudar1::printChartReport);
    connect(m_exportTimer, &QTimer::timeout, this, &FrmNemudar1::exportChartToWord);

    m_screenSize = size();
    setInput(NeedsChartInput{});
}

FrmNemudar1::~FrmNemudar1()
{
    // Closed while a print or export was pending: the busy pointer must not outlive the window.
    if (m_printLook)
        QApplication::restoreOverrideCursor();
}

QLabel* FrmNemudar1::addBox(const QString& name, const QRect& twips, const QColor& colour)
{
    auto* box = new QLabel(this);
    box->setObjectName(name);
    box->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    box->setAutoFillBackground(true);
    QPalette filled = box->palette();
    filled.setColor(QPalette::Window, colour);
    box->setPalette(filled);
    return box;
}

QLabel* FrmNemudar1::addText(const G::Text& element)
{
    QLabel* label =
        addText(element.name, element.text, element.topLeft, element.width, element.bold, element.pointSize);
    if (element.right > 0)
        label->move(twipsToPixels(element.right) - label->width(), label->y());
    return label;
}

QLabel* FrmNemudar1::addText(const QString& name, const QString& text, const QPoint& topLeft, int width,
                             bool bold, int pointSize)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    QFont labelFont = font();
    labelFont.setBold(bold);
    if (pointSize > 0)
        labelFont.setPointSize(pointSize);
    label->setFont(labelFont);
    label->adjustSize();
    const QPoint position = twipsPoint(topLeft.x(), topLeft.y());
    if (width > 0) {
        // Centred in the given width; a longer text grows evenly on both sides.
        const int centre = twipsToPixels(topLeft.x() + width / 2);
        const int pixels = std::max(twipsToPixels(width), label->width());
        label->setGeometry(centre - pixels / 2, position.y(), pixels, label->height());
    } else {
        label->move(position);
    }
    return label;
}

void FrmNemudar1::buildPlot()
{
    // Bands first, then the lines over them, then the frame; texts come above all of these.
    for (const G::Box& band : G::bands())
        addBox(band.name, band.rect, band.colour);
    for (const G::Line& guide : G::guideLines()) {
        auto* line = new ChartLine(guide.name, guide.colour, guide.width, guide.style, this);
        line->setLine(guide.line);
    }
    for (const G::Line& reference : G::referenceLines()) {
        auto* line = new ChartLine(reference.name, reference.colour, reference.width, reference.style, this);
        line->setLine(reference.line);
    }
    new ChartFrame(QStringLiteral("Shape3"), G::kFrame, G::kFrameBorderWidth, this);

    // Subject 2 first, so that where the two lines meet the navy line of subject 1 stays on top.
    for (int k = G::kSegmentCount; k < 2 * G::kSegmentCount; ++k) {
        auto* segment = new ChartLine(QStringLiteral("Line2_%1").arg(k), G::kSubject2Colour,
                                      G::kSubject2Width, Qt::SolidLine, this);
        m_segments[static_cast<std::size_t>(k)] = segment;
        m_secondSubject << segment;
    }
    for (int k = 0; k < G::kSegmentCount; ++k) {
        m_segments[static_cast<std::size_t>(k)] = new ChartLine(
            QStringLiteral("Line2_%1").arg(k), G::kSubject1Colour, G::kSubject1Width, Qt::SolidLine, this);
    }
}

void FrmNemudar1::buildLabels()
{
    const G::Text heading = G::title();
    m_title =
        addText(heading.name, heading.text, heading.topLeft, heading.width, heading.bold, heading.pointSize);
    for (const G::Text& figure : G::axisFigures())
        addText(figure.name, figure.text, figure.topLeft, figure.width, figure.bold, figure.pointSize);
    for (const G::Text& name : G::scaleNames())
        addText(name.name, name.text, name.topLeft, name.width, name.bold, name.pointSize);
    for (int index = 1; index <= 2 * G::kScaleCount; ++index) {
        QLabel* value = addText(QStringLiteral("Lblkh_%1").arg(index), QString(),
                                G::valueLabelPosition(index), 0, true, 0);
        m_values[static_cast<std::size_t>(index)] = value;
        if (index > G::kScaleCount)
            m_secondSubject << value;
    }
    for (const G::Text& caption : G::legendCaptions())
        m_secondSubject << addText(caption);
    for (const G::Box& swatch : G::legendSwatches())
        m_secondSubject << addBox(swatch.name, swatch.rect, swatch.colour);
}

void FrmNemudar1::buildCommandBar()
{
    auto* bar = new QWidget(this);
    m_commandBar = bar;
    bar->setObjectName(QStringLiteral("Frame2"));
    bar->setGeometry(
        twipsRect(G::kCommandBar.x(), G::kCommandBar.y(), G::kCommandBar.width(), G::kCommandBar.height()));
    bar->setAutoFillBackground(true);
    QPalette grey = bar->palette();
    grey.setColor(QPalette::Window, G::kBackground);
    bar->setPalette(grey);

    // Right to left, as the captions read: print, export, close.
    const std::array<std::pair<QString, QString>, 3> commands{
        {{QStringLiteral("Cmdprint"), ChartTexts::print},
         {QStringLiteral("Cmdword"), ChartTexts::exportWord},
         {QStringLiteral("Command4"), ChartTexts::close}}};
    constexpr int width = 1800;
    constexpr int gap = 240;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        auto* button = new QPushButton(commands[i].second, bar);
        button->setObjectName(commands[i].first);
        button->setAccessibleName(commands[i].second);
        const int left = G::kCommandBar.width() - 240 - width - static_cast<int>(i) * (width + gap);
        button->setGeometry(twipsRect(left, 90, width, 420));
        if (commands[i].first == QLatin1String("Command4")) {
            button->setShortcut(QKeySequence(Qt::Key_Escape));
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        } else if (commands[i].first == QLatin1String("Cmdprint")) {
            connect(button, &QPushButton::clicked, this, &FrmNemudar1::startPrint);
        } else {
            connect(button, &QPushButton::clicked, this, &FrmNemudar1::startExport);
        }
    }
}

void FrmNemudar1::placeValueLabel(int index)
{
    QLabel* label = m_values[static_cast<std::size_t>(index)];
    label->adjustSize();
    label->move(twipsPoint(G::valueLabelPosition(index).x(), G::valueLabelPosition(index).y()));
}

void FrmNemudar1::setInput(const NeedsChartInput& input)
{
    m_input = input;
    for (int j = 0; j < G::kScaleCount; ++j) {
        const std::array<std::pair<int, QString>, 2> values{
            {{j + 1, input.subject1Scores[static_cast<std::size_t>(j)]},
             {j + 6, input.subject2Scores[static_cast<std::size_t>(j)]}}};
        for (const auto& [index, score] : values) {
            QLabel* label = m_values[static_cast<std::size_t>(index)];
            label->setText(shownScore(score));
            // Read by a screen reader as stored, without the marks that order it on screen.
            label->setAccessibleName(score);
        }
    }
    for (int index = 1; index <= 2 * G::kScaleCount; ++index)
        placeValueLabel(index);
    for (QWidget* element : std::as_const(m_secondSubject))
        element->setVisible(input.secondSubjectVisible);
    m_modeText->setText(input.modeText());
    if (isVisible())
        redraw();
}

void FrmNemudar1::redraw()
{
    // Both polylines are placed in every mode; in one-subject mode the second stays hidden.
    for (int subject = 0; subject < 2; ++subject) {
        std::array<QString, G::kScaleCount> texts;
        for (int j = 0; j < G::kScaleCount; ++j)
            texts[static_cast<std::size_t>(j)] =
                storedScore(m_values[static_cast<std::size_t>(subject * 5 + j + 1)]->text());
        const auto segments = G::polyline(texts);
        for (int k = 0; k < G::kSegmentCount; ++k)
            m_segments[static_cast<std::size_t>(subject * 4 + k)]->setLine(
                segments[static_cast<std::size_t>(k)]);
    }
    ++m_redrawCount;
}

void FrmNemudar1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // In front and taking the keys, so that Esc closes it at once.
    activateWindow();
    redraw();
}

bool FrmNemudar1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        redraw();
    return QWidget::event(event);
}

void FrmNemudar1::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_closeReported)
        return;
    m_closeReported = true;
    m_context.navigator->needsChartClosed();
}

void FrmNemudar1::setBandColours(const QColor& upper, const QColor& lower, const QColor& window)
{
    const std::array<std::pair<const char*, QColor>, 2> bands{{{"Label1_4", upper}, {"Label1_3", lower}}};
    for (const auto& [name, colour] : bands) {
        if (auto* band = findChild<QLabel*>(QLatin1String(name))) {
            QPalette filled = band->palette();
            filled.setColor(QPalette::Window, colour);
            band->setPalette(filled);
        }
    }
    QPalette background = palette();
    background.setColor(QPalette::Window, window);
    setPalette(background);
}

void FrmNemudar1::prepareForCapture()
{
    if (m_printLook)
        return;
    m_printLook = true;
    const QPoint position = pos();
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setBandColours(G::kPrintUpperBand, G::kPrintLowerBand, G::kPrintBackground);
    m_title->hide();
    m_commandBar->hide();
    setFixedSize(m_screenSize.width(), twipsToPixels(G::kPrintOuterHeight));
    move(position);
    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::clipboard()->clear();
}

void FrmNemudar1::restoreAfterCapture()
{
    if (!m_printLook)
        return;
    m_printLook = false;
    const QPoint position = pos();
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint);
    setBandColours(G::bands().at(0).colour, G::bands().at(1).colour, G::kBackground);
    m_title->show();
    m_commandBar->show();
    setFixedSize(m_screenSize);
    move(position);
    show();
    QApplication::restoreOverrideCursor();
}

QImage FrmNemudar1::snapFormWindow()
{
    // In the print look the window has no frame, so its outer size is its own.
    return grab().toImage();
}

void FrmNemudar1::startPrint()
{
    if (m_printTimer->isActive() || m_exportTimer->isActive())
        return;
    prepareForCapture();
    m_printTimer->start();
}

void FrmNemudar1::startExport()
{
    if (m_printTimer->isActive() || m_exportTimer->isActive())
        return;
    prepareForCapture();
    m_exportTimer->start();
}

void FrmNemudar1::printChartReport()
{
    m_printTimer->stop();
    m_picture1 = snapFormWindow();
    // The screen look comes back before the preview opens, not after it closes: the preview waits
    // for the user, and the chart must not stay white and without its commands meanwhile.
    restoreAfterCapture();
    const ClinicTexts clinic = m_context.navigator->clinicTexts();
    AuditTrail::record(m_context, AuditTrail::Action::Printed, m_input.subjectCode, AuditTexts::chartDetail,
                       this);
    ReportPreview::show(this, ChartReport::build(m_input, clinic, m_picture1), *m_context.prompts);
    if (m_theme)
        m_theme->requery();
}

QString FrmNemudar1::documentsFolder() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void FrmNemudar1::exportChartToWord()
{
    Prompts& prompts = *m_context.prompts;
    m_exportTimer->stop();
    const QImage chart = snapFormWindow();
    restoreAfterCapture();
    const QString text = WordExport::documentText(m_input);
    m_documentText->setPlainText(text);

    // The bitmap in the data folder is a by-product; the document does not depend on it.
    const QString bitmap = WordExport::bitmapPath(m_context.dataFolder, m_input.subjectCode);
    QSaveFile bitmapFile(bitmap);
    errno = 0;
    bool bitmapSaved = bitmapFile.open(QIODevice::WriteOnly) && chart.save(&bitmapFile, "BMP");
    int bitmapError = errno;
    if (bitmapSaved) {
        errno = 0;
        bitmapSaved = bitmapFile.commit();
        bitmapError = errno;
    }
    if (!bitmapSaved) {
        prompts.message(this, CommonTexts::warningTitle,
                        withWriteProblem(ChartTexts::bitmapNotSaved + QStringLiteral("\r\n") +
                                             BidiText::isolated(QDir::toNativeSeparators(bitmap)),
                                         bitmap, bitmapError),
                        Prompts::Icon::Exclamation, true);
    }

    const QString folder = documentsFolder();
    errno = 0;
    const bool folderReady = QDir().mkpath(folder);
    int documentError = folderReady ? 0 : errno;
    QString document = WordExport::documentPath(folder, true);
    // A clinician may have worked on the earlier document: it is replaced only when they say so.
    if (folderReady && QFileInfo::exists(document)) {
        const bool replace = prompts.askYesNo(
            this, ChartTexts::replaceDocumentTitle,
            ChartTexts::replaceDocument.arg(BidiText::isolated(QDir::toNativeSeparators(document))));
        document = WordExport::documentPath(folder, replace);
    }
    if (!folderReady || !WordExport::writeDocument(document, chart, WordExport::paragraphs(text),
                                                   m_context.navigator->clinicTexts(), &documentError)) {
        prompts.message(this, CommonTexts::warningTitle,
                        withWriteProblem(ChartTexts::documentNotMade + QStringLiteral("\r\n") +
                                             BidiText::isolated(QDir::toNativeSeparators(document)),
                                         document, documentError),
                        Prompts::Icon::Exclamation, true);
        return;
    }
    AuditTrail::record(m_context, AuditTrail::Action::Exported, m_input.subjectCode, AuditTexts::wordDetail,
                       this);
    if (m_context.desktop)
        m_context.desktop->openUrl(QUrl::fromLocalFile(document));
    // Where the document went, for a desktop that could not open it.
    prompts.message(this, ChartTexts::documentMadeTitle,
                    ChartTexts::documentMadeStart +
                        BidiText::isolated(QDir::toNativeSeparators(QFileInfo(document).absoluteFilePath())) +
                        ChartTexts::documentMadeEnd,
                    Prompts::Icon::Information);
}
