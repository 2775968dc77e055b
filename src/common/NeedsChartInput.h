#pragma once

#include <QString>

#include <array>

// What the scoring window hands to the needs chart: the mode, the score texts of one or two
// subjects (in scale order S, L, F1, P, F2) and, for the chart's print and export, the subject
// data lines and the test date as they stood when the chart was opened.
struct NeedsChartInput
{
    enum class Mode
    {
        OneSubject = 1,
        Couple = 2
    };

    Mode mode = Mode::OneSubject;
    std::array<QString, 5> subject1Scores;
    std::array<QString, 5> subject2Scores;
    bool secondSubjectVisible = false;

    QString subject1Line;
    QString subject2Line;
    QString testDate;
    // The code of the subject whose record the scoring window shows; it names the exported bitmap.
    QString subjectCode;

    // The mode as the chart window's mode text holds it: "1" or "2".
    QString modeText() const { return mode == Mode::Couple ? QStringLiteral("2") : QStringLiteral("1"); }
};
