#pragma once

#include "AboutAnimation.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

// The about window: the product and author texts scroll upwards through four labels, the first
// label cycles through eight colours and the third takes a random one, and the credit line
// assembles itself letter by letter. It loads no skin of its own (over the main window it shows the
// main window's); it closes with "خروج" or Esc.
class About final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(About)
public:
    explicit About(QWidget* parent = nullptr, AboutAnimation::RandomSource random = {});
    ~About() override;

    // One tick of Timer10, Timer1 and Timer3; public so that tests step the animations without
    // waiting for the timers.
    void scrollTick();
    void colourTick();
    void creditTick();

    const AboutAnimation& animation() const { return m_animation; }

protected:
    // The timers run only while the window is shown, so a closed window costs nothing.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildEmblem();
    void buildScrollingLabels();
    void placeLabel(int label);
    int heightInTwips() const;

    AboutAnimation m_animation;
    QWidget* m_scrollViewport = nullptr; // clips the labels between the recycle line and the credit
    std::array<QLabel*, AboutAnimation::kLabelCount> m_labels = {}; // Label1 … Label4
    QLineEdit* m_credit = nullptr;                                  // Text1
    QTimer* m_scrollTimer = nullptr;                                // Timer10
    QTimer* m_colourTimer = nullptr;                                // Timer1
    QTimer* m_creditTimer = nullptr;                                // Timer3
};
