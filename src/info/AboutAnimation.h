#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The three animations of the about window, without widgets: the four labels that scroll the about
// texts upwards, the colours of the first and third label, and the credit line that assembles
// itself in the credit box. Positions are in twips; each step is one tick of its timer.
class AboutAnimation
{
public:
    static constexpr int kTextCount = 11;
    static constexpr int kLabelCount = 4;
    static constexpr int kStepTwips = 15;       // each scroll tick moves the labels up this far
    static constexpr int kRecycleTop = 1000;    // a label at or above this top goes back down
    static constexpr int kRecycleMargin = 1500; // ... to this distance above the window's bottom
    static constexpr int kCreditBlankRun = 3;   // blanks between the letters of the spread credit
    static constexpr std::array<int, kLabelCount> kStartLefts = {6525, 6510, 6495, 6495};
    static constexpr std::array<int, kLabelCount> kStartTops = {1920, 2640, 3240, 3840};

    // A number in [0, 1); the program draws from the system's generator, tests script it.
    using RandomSource = std::function<double()>;

    // texts: about texts 1 to 8 (further texts stay empty); credit: the line the credit box ends with.
    AboutAnimation(const QStringList& texts, const QString& credit, RandomSource random = {});

    // About text by its number, 1 to 11; empty outside.
    QString aboutText(int number) const;
    int labelTop(int label) const { return m_tops.at(label); }
    const QString& labelText(int label) const { return m_labelTexts.at(label); }
    int position() const { return m_position; }

    // One scroll tick: the first label whose top reached the recycle line goes down to 1500 twips
    // above the bottom of a window of the given height and takes the next about text; then every
    // label moves up one step. Returns the label that went down, or -1.
    int scroll(int windowHeight);

    // One colour tick: the first label's next palette colour and the third label's random colour.
    struct Colours
    {
        QColor first;
        QColor third;
    };
    Colours nextColours();

    // The credit box's text: spread at first, then one blank fewer, then one point turned into a
    // blank per tick, until it reads as the credit line.
    const QString& creditText() const { return m_credit; }
    // One credit tick; false when the text did not change.
    bool assembleCredit();
    // Nothing will change the credit text any more; its timer may stop.
    bool creditAssembled() const;

    // The credit line with runs of blanks between its letters and a point for each gap between
    // words.
    static QString spreadCredit(const QString& credit);
    // A number in [0, 1) times 255, rounded to the nearest whole number, halves to the even one.
    static int colourComponent(double random);

private:
    QStringList m_texts; // about texts 1 … 11 at 0 … 10
    std::array<int, kLabelCount> m_tops = kStartTops;
    std::array<QString, kLabelCount> m_labelTexts;
    int m_position = kLabelCount;
    int m_colourCounter = 0;
    RandomSource m_random;
    QString m_credit;
    QString m_find = QStringLiteral(" ");
    QString m_replacement;
};
