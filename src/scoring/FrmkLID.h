#pragma once

#include "CoupleComparison.h"
#include "ScoringKey.h"
#include "common/AppContext.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class DataView;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The scoring window: choose and score a subject, compare a couple, open the chart, edit the
// chosen subject's record.
class FrmkLID final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmkLID)
public:
    explicit FrmkLID(const AppContext& context, QWidget* parent = nullptr);
    ~FrmkLID() override;

    // The chosen code; empty while no subject has been chosen.
    QString chosenCode() const;
    // The subject data lines and the test date, as the chart's print reads them.
    QString subject1Line() const;
    QString subject2Line() const;
    QString testDate() const;
    // The unfiltered view of every subject, for the print of all subjects.
    DataView& allSubjects() const { return *m_allSubjects; }

public slots:
    void chooseAndScore();     // Command1
    void compareCouple();      // Cmdzooj
    void showSingleChart();    // Command5
    void showHistory();        // CmdHistory
    void saveRecordChanges();  // Command8
    void printAllSubjects();   // Command3
    void printChosenSubject(); // Command6

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // How a run of the scoring treats one code: alone, or as subject 1 or 2 of a couple.
    enum class Run
    {
        Single,
        CoupleFirst,
        CoupleSecond
    };

    void openViews();
    void buildRecordArea();
    void buildCommandBar();
    void buildResultsArea();
    void buildHelpPanel();
    void buildHiddenCarriers();
    QLineEdit* addRecordField(const QString& name, const QString& caption, int column, int row);
    QPushButton* addCommand(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                            int width);
    QLineEdit* hiddenField(const QString& name);

    // Scores one typed code and stores its scores. False when the run stopped.
    bool scoreCode(const QString& code, Run run);
    // The scores of the partner's administration the clinician chooses for the couple comparison
    // (the latest by default); nullopt when the choice was cancelled.
    std::optional<ScoringKey::ScoreTexts> chooseAdministration(const QString& code, int number);
    ScoringKey::ScoreTexts scoreBoxTexts() const;
    // The chart input with the code of the subject the record area shows, which names its export.
    void showChart(NeedsChartInput input);

    AppContext m_context;

    std::unique_ptr<DataView> m_theme;        // Adodc1
    std::unique_ptr<DataView> m_answers;      // Adodc2
    std::unique_ptr<DataView> m_record;       // Adodc3
    std::unique_ptr<DataView> m_scores;       // Adodc5
    std::unique_ptr<DataView> m_allSubjects;  // Adodc6
    std::unique_ptr<DataView> m_subjectProbe; // tells whether a code has a subject record

    QFrame* m_recordArea = nullptr;                                       // Frame5
    QFrame* m_commandBar = nullptr;                                       // Frame1
    QFrame* m_resultsArea = nullptr;                                      // Frame3
    QFrame* m_helpPanel = nullptr;                                        // Frame2
    QLineEdit* m_chosenCode = nullptr;                                    // Text5
    QLineEdit* m_dataLine1 = nullptr;                                     // Text9
    QLineEdit* m_dataLine2 = nullptr;                                     // Text14
    QLineEdit* m_fullName = nullptr;                                      // Text17
    QLineEdit* m_gender = nullptr;                                        // Text10
    QLineEdit* m_date = nullptr;                                          // Text8
    QComboBox* m_genderList = nullptr;                                    // Combo2
    std::array<QLineEdit*, ScoringKey::kScaleCount> m_scoreBoxes{};       // TextS … TextF2
    std::array<QLineEdit*, ScoringKey::kItemCount> m_answerBoxes{};       // Txt3 1 … 35
    std::array<QLineEdit*, 2 * ScoringKey::kScaleCount> m_coupleScores{}; // Txtn1 0 … 9
    // The data line of the subject in the score boxes, without a couple prefix: after a couple
    // comparison Text9 names the first subject while the boxes hold the second.
    QString m_chosenLine;
    // The code under which the subject in the record area is stored, before any edit of its box.
    QString m_recordCode;
    bool m_closeReported = false;
    // How the chosen subject's latest administration was entered and the patterns it raises.
    QLabel* m_checks = nullptr;
};
