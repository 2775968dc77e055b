#pragma once

#include "NeedsChartGeometry.h"
#include "common/AppContext.h"
#include "common/NeedsChartInput.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>

class ChartLine;
class DataView;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The needs chart: the five scores of one subject, or of a couple, as a line chart over the five
// scales with the score texts written under it.
class FrmNemudar1 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmNemudar1)
public:
    explicit FrmNemudar1(const AppContext& context, QWidget* parent = nullptr);
    ~FrmNemudar1() override;

    // Fills the value labels, the mode text and the second subject's visibility.
    void setInput(const NeedsChartInput& input);
    const NeedsChartInput& input() const { return m_input; }

    // The clinic profile view the printed chart takes its header from.
    DataView* themeView() const { return m_theme.get(); }

    // Places the polylines from the value labels' current texts. Runs each time the window comes
    // to the front.
    void redraw();
    int redrawCount() const { return m_redrawCount; }

    // The look for paper: white, the bands pale, no title or commands, taller, busy pointer; the
    // clipboard is emptied. RestoreAfterCapture gives the screen look back.
    void prepareForCapture();
    void restoreAfterCapture();
    bool inPrintLook() const { return m_printLook; }
    // The whole window as drawn now, at its outer size.
    QImage snapFormWindow();

public slots:
    // Cmdprint and Cmdword: the print look, then half a second later the print or the export.
    void startPrint();
    void startExport();
    // What the two timers run: the printed chart in its preview, and the .docx export.
    void printChartReport();
    void exportChartToWord();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPlot();
    void buildLabels();
    void buildCommandBar();
    QLabel* addText(const QString& name, const QString& text, const QPoint& topLeft, int width, bool bold,
                    int pointSize);
    QLabel* addText(const NeedsChartGeometry::Text& element);
    QLabel* addBox(const QString& name, const QRect& twips, const QColor& colour);
    void placeValueLabel(int index);

    AppContext m_context;
    NeedsChartInput m_input;
    std::unique_ptr<DataView> m_theme;
    std::array<QLabel*, 11> m_values{};     // Lblkh 1 … 10 (element 0 unused)
    std::array<ChartLine*, 8> m_segments{}; // Line2 0 … 7
    QList<QWidget*> m_secondSubject;        // hidden in one-subject mode
    QLineEdit* m_modeText = nullptr;        // Text3
    void setBandColours(const QColor& upper, const QColor& lower, const QColor& window);
    QString documentsFolder() const;

    QLabel* m_title = nullptr;                // Label6
    QWidget* m_commandBar = nullptr;          // Frame2
    QPlainTextEdit* m_documentText = nullptr; // Txtid
    QTimer* m_printTimer = nullptr;           // Timer1
    QTimer* m_exportTimer = nullptr;          // Timer2
    QImage m_picture1;                        // the captured chart of the last print
    QSize m_screenSize;
    bool m_printLook = false;
    int m_redrawCount = 0;
    bool m_closeReported = false;
};
