#include "About.h"

#include "InfoTexts.h"
#include "common/AppVersion.h"
#include "common/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kWindowWidth = 12000;
constexpr int kWindowHeight = 7500;
constexpr int kLabelRight = 11760;
constexpr int kLabelHeight = 510;
// The labels show between the recycle line and this line; one that goes back down enters from
// below it, a few pixels at a time.
constexpr int kScrollBottom = 6270;
constexpr int kScrollLeft = 6360;

constexpr int kScrollInterval = 55;
constexpr int kColourInterval = 700;
constexpr int kCreditInterval = 1; // as fast as the platform's timer allows

QTimer* makeTimer(QObject* parent, const QString& name, int interval)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}

// A label's own style sheet wins over the skin that the window may take from its parent.
void setTextColour(QLabel* label, const QColor& colour)
{
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

} // namespace

About::About(QWidget* parent, AboutAnimation::RandomSource random)
    : QDialog(parent), m_animation(InfoTexts::aboutTexts, InfoTexts::creditLine, std::move(random))
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(InfoTexts::aboutTitle);
    setFixedSize(twipsSize(kWindowWidth, kWindowHeight));
    move(twipsPoint(2340, 1200));

    // Opened over the main window, the about window takes its skin; its texts stand on the frame.
    setStyleSheet(QStringLiteral("QLabel, QWidget#ScrollViewport { background: transparent; }"));

    auto* frame = new QGroupBox(InfoTexts::aboutFrame, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twipsRect(120, 60, kWindowWidth - 240, 6360));

    buildEmblem();
    buildScrollingLabels();

    m_credit = new QLineEdit(m_animation.creditText(), this);
    m_credit->setObjectName(QStringLiteral("Text1"));
    m_credit->setGeometry(twipsRect(2040, 6600, 4095, 375));
    m_credit->setReadOnly(true);
    m_credit->setAlignment(Qt::AlignCenter);
    m_credit->setFocusPolicy(Qt::NoFocus);
    // Screen readers hear the finished line, not the letters on their way.
    m_credit->setAccessibleName(InfoTexts::creditLine);

    auto* exitButton = new QPushButton(InfoTexts::exit, this);
    exitButton->setObjectName(QStringLiteral("Command1"));
    exitButton->setAccessibleName(InfoTexts::exit);
    exitButton->setGeometry(twipsRect(kLabelRight - 2160, 6570, 2160, 435));
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    m_scrollTimer = makeTimer(this, QStringLiteral("Timer10"), kScrollInterval);
    m_colourTimer = makeTimer(this, QStringLiteral("Timer1"), kColourInterval);
    m_creditTimer = makeTimer(this, QStringLiteral("Timer3"), kCreditInterval);
    connect(m_scrollTimer, &QTimer::timeout, this, &About::scrollTick);
    connect(m_colourTimer, &QTimer::timeout, this, &About::colourTick);
    connect(m_creditTimer, &QTimer::timeout, this, &About::creditTick);
}

About::~About() = default;

void About::buildEmblem()
{
    auto addLine = [this](const QString& name, const QString& text, const QFont& font, int top, int height) {
        auto* line = new QLabel(text, this);
        line->setObjectName(name);
        line->setFont(font);
        line->setAlignment(Qt::AlignCenter);
        line->setGeometry(twipsRect(480, top, 5640, height));
        return line;
    };
    QFont nameFont(QStringLiteral("B Titr"));
    nameFont.setPointSize(30);
    addLine(QStringLiteral("LabelProduct"), InfoTexts::productEmblemName, nameFont, 1500, 1200);
    QFont latinFont(font());
    latinFont.setPointSize(20);
    latinFont.setBold(true);
    addLine(QStringLiteral("LabelProductLatin"), QStringLiteral("Velmora"), latinFont, 2700, 600);
    QFont subtitleFont(QStringLiteral("B Nazanin"));
    subtitleFont.setPointSize(14);
    addLine(QStringLiteral("LabelSubtitle"), InfoTexts::productEmblemSubtitle, subtitleFont, 3420, 540);
    auto* version = addLine(QStringLiteral("LabelVersion"), AppVersion::versionLine(), font(), 4080, 420);
    version->setLayoutDirection(Qt::LeftToRight);
}

void About::buildScrollingLabels()
{
    m_scrollViewport = new QWidget(this);
    m_scrollViewport->setObjectName(QStringLiteral("ScrollViewport"));
    m_scrollViewport->setGeometry(twipsRect(kScrollLeft, AboutAnimation::kRecycleTop,
                                            kLabelRight - kScrollLeft,
                                            kScrollBottom - AboutAnimation::kRecycleTop));

    QFont labelFont(QStringLiteral("B Nazanin"));
    labelFont.setPointSizeF(15.75);
    labelFont.setBold(true);
    for (int label = 0; label < AboutAnimation::kLabelCount; ++label) {
        auto* text = new QLabel(m_animation.labelText(label), m_scrollViewport);
        text->setObjectName(QStringLiteral("Label%1").arg(label + 1));
        text->setFont(labelFont);
        // Right to left: the texts hug the right edge, whatever their length.
        text->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        m_labels.at(label) = text;
        placeLabel(label);
    }
}

void About::placeLabel(int label)
{
    // The labels keep their places in the window's twips; the viewport only clips them.
    const int left = AboutAnimation::kStartLefts.at(label);
    const QRect inWindow = twipsRect(left, m_animation.labelTop(label), kLabelRight - left, kLabelHeight);
    m_labels.at(label)->setGeometry(inWindow.translated(-m_scrollViewport->pos()));
}

int About::heightInTwips() const
{
    return height() * kTwipsPerPixel;
}

void About::scrollTick()
{
    const int recycled = m_animation.scroll(heightInTwips());
    if (recycled >= 0)
        m_labels.at(recycled)->setText(m_animation.labelText(recycled));
    for (int label = 0; label < AboutAnimation::kLabelCount; ++label)
        placeLabel(label);
}

void About::colourTick()
{
    const AboutAnimation::Colours colours = m_animation.nextColours();
    setTextColour(m_labels.at(0), colours.first);
    setTextColour(m_labels.at(2), colours.third);
}

void About::creditTick()
{
    if (m_animation.assembleCredit())
        m_credit->setText(m_animation.creditText());
    // Once the line reads right nothing changes any more: a 1 ms timer left running would only
    // keep the processor busy.
    if (m_animation.creditAssembled())
        m_creditTimer->stop();
}

void About::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_scrollTimer->start();
    m_colourTimer->start();
    if (!m_animation.creditAssembled())
        m_creditTimer->start();
}

void About::hideEvent(QHideEvent* event)
{
    m_scrollTimer->stop();
    m_colourTimer->stop();
    m_creditTimer->stop();
    QDialog::hideEvent(event);
}
