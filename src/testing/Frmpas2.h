#pragma once

#include "common/AppContext.h"
#include "datastore/AdministrationDetails.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class DataView;
class QLineEdit;
class QWidget;

// The answer sheet: the clinician types a subject's 35 answers from a paper sheet.
//
// A digit typed into an entry box goes into the subject's Answer row at once, in the coding of the
// on-screen test ("1" … "5", 0 or an emptied box leaves the item unanswered). The row reaches the
// file every twentieth entry, at "ذخيره", before another subject is selected and when the window
// closes, whichever way it closes, so that no typed answer is lost. When the file cannot take them,
// the clinician is told and the sheet keeps them on screen.
//
// Where the clinic has sheets entered twice, the first entry goes into Answer as above and ends
// when the sheet leaves its subject. The next time the subject is chosen the sheet takes the second
// entry: blind (its boxes start empty, and no widget holds a value of the first entry) and kept
// apart in AdministrationDetails, never in Answer. When its last item is typed the two are compared:
// equal, the administration is verified; otherwise it waits for a reviewer (DoubleEntryReview),
// whose window opens at once and again whenever the subject is chosen before the review is done.
class Frmpas2 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Frmpas2)
public:
    explicit Frmpas2(const AppContext& context, QWidget* parent = nullptr);
    ~Frmpas2() override;

    // Every way of closing the window (its buttons, Esc, the title-bar close box) ends here.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    void selectSubject();
    void save();
    void entryEdited(int item);
    void hideGrid();
    // Commits the typed answers and checks that the file holds them.
    bool storeTypedAnswers();
    // Stores the typed answers before the sheet leaves its subject; on failure says so and keeps
    // the sheet as it is. True when the sheet may move on.
    bool keepTypedAnswers();
    // The second entry of a sheet entered twice: begun, stored as typed, compared at its end.
    void startSecondEntry(const QString& code, AdministrationDetails::Details details);
    bool storeSecondEntry(QString* failure);
    void finishSecondEntry();
    void openReview(const AdministrationDetails::Details& details);
    // Notes how the first entry was made, once something was typed; true when stored.
    bool storeFirstEntryState(QString* failure);

    AppContext m_context;
    std::unique_ptr<DataView> m_answers;  // Answer
    std::unique_ptr<DataView> m_subjects; // IDE
    int m_entries = 0;
    bool m_subjectShown = false;
    QString m_shownCode;                      // the code of the subject whose answers the grid shows
    bool m_secondEntry = false;               // the grid takes the blind second entry
    bool m_typedSinceShown = false;           // a digit was typed since the subject was shown
    AdministrationDetails::Details m_details; // of the administration shown
    std::array<QString, AdministrationDetails::kItemCount> m_secondValues;

    QLineEdit* m_code = nullptr;    // Text4
    QLineEdit* m_name = nullptr;    // Text10
    QLineEdit* m_counter = nullptr; // Text13
    QWidget* m_grid = nullptr;
    QLineEdit* m_entryBoxes[36] = {};   // Txt1 1 … 35
    QPointer<QLineEdit> m_lastEntryBox; // the entry box that had the focus last
    QLineEdit* m_hiddenFields[36] = {}; // Txt2 1 … 35, bound to the answer columns
};
