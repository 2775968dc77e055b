#pragma once

#include "common/AppContext.h"
#include "datastore/AdministrationDetails.h"

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <memory>

class DataView;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The on-screen test: one subject answers the 35 items one at a time.
//
// The chosen option of an item goes into the subject's Answer row at once and reaches the file at
// "بعدي", "قبلي", an item number above 35, and when the window closes, whichever way it closes.
// When the file cannot take it, the user is told and the window stays where it was.
//
// Unseen by the subject, the window keeps how the test was taken: the time each item was on screen
// (summed over every visit, at the context's clock) and how often its answer was changed. They go
// into the administration's AdministrationDetails row when the test is left.
class FrmTest final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmTest)
public:
    explicit FrmTest(const AppContext& context, QWidget* parent = nullptr);
    ~FrmTest() override;

    // Prepares the window for a registered subject code: its subject and answer rows, an answer
    // row created when the subject has none; the window is in its intro state. A subject with a
    // scored administration is asked about first (RetestChoice). False, after telling the user,
    // when the subject's answers would have no row to go to, or when the question was cancelled.
    bool prepareForCode(const QString& code);
    // Puts the window back into its intro state with item number 0, for the next opening.
    void resetToIntro();

    // The answer code an option stores: "5" for the first option down to "1" for the fifth.
    static QString answerCode(int option);

    // The locked client test: full screen, only the questions, and no way out before the last item
    // is answered but "ذخيره و خروج" with a clinician's password (`confirmLeaving`, true when one
    // was given). Esc, Alt+F4, the close box and the window manager's close are refused; the window
    // takes the screen back when it is minimised or left for another program. Set before exec().
    void setLocked(std::function<bool(QWidget*)> confirmLeaving);
    bool isLocked() const { return static_cast<bool>(m_confirmLeaving); }
    // Whether every item has a stored answer.
    bool allAnswered() const;

public slots:
    // Esc and the title-bar close box save and leave as "ذخيره و خروج" does, so that no chosen
    // answer and no edit of the subject panel is lost.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeScreenBack();
    void buildIntro();
    void buildSubjectPanel();
    void buildItemArea();
    void buildCommands();
    QLineEdit* addSubjectField(const QString& name, const QString& caption, const QString& column, int place);
    void showIntro(bool intro);

    void start();
    void moveBy(int step);
    // Commits the chosen answers; on failure says so and keeps them on screen.
    bool storeAnswers();
    void saveAndExit();
    void itemNumberChanged(const QString& text);
    void loadItem(int item);
    void showStoredAnswer(const QString& value);
    void optionChosen(int option, bool checked);
    // Adds the time the shown item has been on screen since it was shown or last counted.
    void countItemTime();
    QDateTime now() const;

    AppContext m_context;
    std::function<bool(QWidget*)> m_confirmLeaving;
    bool m_leaving = false;
    bool m_confirming = false;
    QWidget* m_content = nullptr;          // the window's widgets, centred on the screen in the locked test
    std::unique_ptr<DataView> m_subjects;  // IDE
    std::unique_ptr<DataView> m_answers;   // Answer
    std::unique_ptr<DataView> m_questions; // QU
    QString m_answerField;                 // the column of the item shown last ("1" … "35")
    bool m_showingAnswer = false;
    AdministrationDetails::Details m_details; // the timings of the administration under way
    int m_timedItem = 0;                      // the item on screen, 0 for none
    bool m_itemShown = false;                 // an item was shown since the window was prepared
    bool m_answerChosen = false;              // and an answer chosen
    QDateTime m_timedSince;

    QLabel* m_title = nullptr;           // SkinLabel3
    QLabel* m_instructions = nullptr;    // SkinLabel4
    QLabel* m_legend = nullptr;          // SkinLabel6
    QWidget* m_subjectPanel = nullptr;   // Frame1
    QLineEdit* m_answerCode = nullptr;   // Text14, the code of the answer row
    QLabel* m_itemText = nullptr;        // SkinLbl5
    QGroupBox* m_optionsFrame = nullptr; // Frame2
    QButtonGroup* m_options = nullptr;   // Option1 … Option5
    QLabel* m_itemNumberCaption = nullptr;
    QLineEdit* m_itemNumber = nullptr;    // Text6
    QPushButton* m_start = nullptr;       // Command1
    QPushButton* m_next = nullptr;        // CmdNext
    QPushButton* m_back = nullptr;        // CmdBack
    QPushButton* m_saveAndExit = nullptr; // Command5
};
