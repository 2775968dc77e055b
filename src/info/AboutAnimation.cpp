#include "AboutAnimation.h"

#include <QRandomGenerator>

#include <cmath>

namespace {

// The even entries of the classic 16-colour palette; the colour counter starts at 0 and steps by
// two, so the odd ones are never reached.
constexpr int kPaletteSize = 16;
const std::array<QColor, kPaletteSize / 2> kEvenPaletteEntries = {
    QColor(0, 0, 0),       QColor(0, 128, 0), QColor(128, 0, 0), QColor(128, 128, 0),
    QColor(128, 128, 128), QColor(0, 255, 0), QColor(255, 0, 0), QColor(255, 255, 0),
};

// The position after text 8 is the empty text 9, shown once per cycle as a gap before text 1.
constexpr int kLastShownText = 9;

} // namespace

AboutAnimation::AboutAnimation(const QStringList& texts, const QString& credit, RandomSource random)
    : m_texts(texts.mid(0, kTextCount)), m_random(std::move(random)), m_credit(spreadCredit(credit))
{
    while (m_texts.size() < kTextCount)
        m_texts.append(QString());
    if (!m_random)
        m_random = [] { return QRandomGenerator::global()->generateDouble(); };
    for (int label = 0; label < kLabelCount; ++label)
        m_labelTexts.at(label) = aboutText(label + 1);
}

QString AboutAnimation::aboutText(int number) const
{
    return m_texts.value(number - 1);
}

int AboutAnimation::scroll(int windowHeight)
{
    int recycled = -1;
    for (int label = 0; label < kLabelCount; ++label) {
        if (m_tops.at(label) <= kRecycleTop) {
            recycled = label;
            m_tops.at(label) = windowHeight - kRecycleMargin;
            ++m_position;
            m_labelTexts.at(label) = aboutText(m_position);
            break;
        }
    }
    if (m_position == kLastShownText)
        m_position = 0;
    for (int& top : m_tops)
        top -= kStepTwips;
    return recycled;
}

AboutAnimation::Colours AboutAnimation::nextColours()
{
    if (m_colourCounter > kPaletteSize - 1)
        m_colourCounter = 0;
    Colours colours;
    colours.first = kEvenPaletteEntries.at(m_colourCounter / 2);
    m_colourCounter += 2;
    // Drawn one after the other, red first: a scripted source gives its numbers in this order.
    const int red = colourComponent(m_random());
    const int green = colourComponent(m_random());
    const int blue = colourComponent(m_random());
    colours.third = QColor(red, green, blue);
    return colours;
}

int AboutAnimation::colourComponent(double random)
{
    // std::nearbyint rounds in the default mode, to nearest with ties to even.
    return static_cast<int>(std::nearbyint(random * 255.0));
}

QString AboutAnimation::spreadCredit(const QString& credit)
{
    const QString run(kCreditBlankRun, u' ');
    QString spread;
    for (qsizetype i = 0; i < credit.size(); ++i) {
        if (i > 0)
            spread += run;
        spread += credit.at(i) == u' ' ? QChar(u'.') : credit.at(i);
    }
    return spread;
}

bool AboutAnimation::assembleCredit()
{
    if (m_find.isEmpty() || m_find == m_replacement)
        return false;
    const qsizetype at = m_credit.indexOf(m_find);
    if (at < 0) {
        m_find = QStringLiteral(".");
        m_replacement = QStringLiteral(" ");
        return false;
    }
    m_credit.replace(at, m_find.size(), m_replacement);
    return true;
}

bool AboutAnimation::creditAssembled() const
{
    return m_find == QStringLiteral(".") && !m_credit.contains(m_find);
}
