#include "FrmNemudar1.h"

#include "ChartElements.h"
#include "ChartTexts.h"
#include "NeedsChartGeometry.h"
#include "common/Navigator.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace G = NeedsChartGeometry;

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

    m_theme = Database::openView(m_context.programFolder, Database::File::Theme, QStringLiteral("Theme"));

    buildPlot();
    buildLabels();
    buildCommandBar();

    m_modeText = new QLineEdit(this);
    m_modeText->setObjectName(QStringLiteral("Text3"));
    m_modeText->hide();

    setInput(NeedsChartInput{});
}

FrmNemudar1::~FrmNemudar1() = default;

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
        m_secondSubject << addText(caption.name, caption.text, caption.topLeft, caption.width, caption.bold,
                                   caption.pointSize);
    for (const G::Box& swatch : G::legendSwatches())
        m_secondSubject << addBox(swatch.name, swatch.rect, swatch.colour);
}

void FrmNemudar1::buildCommandBar()
{
    auto* bar = new QWidget(this);
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
        m_values[static_cast<std::size_t>(j + 1)]->setText(input.subject1Scores[static_cast<std::size_t>(j)]);
        m_values[static_cast<std::size_t>(j + 6)]->setText(input.subject2Scores[static_cast<std::size_t>(j)]);
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
                m_values[static_cast<std::size_t>(subject * 5 + j + 1)]->text();
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
