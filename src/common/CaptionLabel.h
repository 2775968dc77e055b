#pragma once

#include <QLabel>
#include <QRect>
#include <QString>

class QWidget;

// A caption drawn so that a leading colon stays between the word and its field.
//
// Captions such as ":کد آزمودني" or " :نام" are stored with the colon first, as they read in a
// left-to-right editor. Drawn right to left, the colon would land at the far right, away from the
// field that sits at the caption's left. Such captions are drawn left to right, which puts the
// colon at the left next to the field; the text itself is not changed, so what screen readers and
// tests read stays the caption as written.
class CaptionLabel final : public QLabel
{
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& caption, QWidget* parent = nullptr);

    // Whether a caption is drawn left to right: its first visible character is a colon.
    static bool startsWithColon(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Places the caption of an input control beside it. The label is the input's buddy and the
// caption is the input's accessible name, so that screen readers, and automation that drives the
// program from outside, find the input by the words the user sees. A value shown in a label keeps
// its own text as its accessible name and has the caption as its description. The label is named
// "Label_" followed by the input's name.
QLabel* addCaptionLabel(QWidget* input, const QString& caption, const QRect& geometry,
                        Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);
