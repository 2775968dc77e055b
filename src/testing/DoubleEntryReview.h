#pragma once

#include "common/AppContext.h"
#include "datastore/AnswerChecks.h"

#include <QDialog>
#include <QMap>

class QLineEdit;

// The review of a paper sheet whose two entries disagree: each disagreeing item with the value of
// either entry and a box for the value the reviewer reads on the paper sheet (a click on either
// value puts it there). "ثبت و تاييد" stores the reviewed answers as the administration's and marks
// it verified, with the reviewer's name; until then the administration waits for review, and
// closing the window leaves it so.
class DoubleEntryReview final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DoubleEntryReview)
public:
    DoubleEntryReview(const AppContext& context, const AdministrationDetails::Details& details,
                      const AnswerChecks::Answers& first, QWidget* parent = nullptr);

    // The box of a disagreeing item; null for an item both entries agree on.
    QLineEdit* valueBox(int item) const { return m_values.value(item); }

private:
    void store();

    AppContext m_context;
    AdministrationDetails::Details m_details;
    AnswerChecks::Answers m_first;
    QMap<int, QLineEdit*> m_values;
};
