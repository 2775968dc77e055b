#pragma once

#include "AuditTrail.h"
#include "common/AppContext.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The administrator's window on the audit trail: the rows filtered by user, subject, Jalali date
// range and action, the check of the hash chain, and the export of the rows shown to a .csv file.
class FrmAudit final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrmAudit)
public:
    explicit FrmAudit(const AppContext& context, QWidget* parent = nullptr);
    ~FrmAudit() override;

    // Reads the rows the filters ask for; false after telling why not.
    bool showRows();
    void checkChain();
    void exportRows();

    // A typed Jalali date ("1402/2/13", Persian digits and blanks allowed) as the first moment of
    // that day in UTC; nullopt for an empty box, an invalid date sets `valid` false.
    static std::optional<QDateTime> dayStart(const QString& typed, bool* valid);

private:
    QLineEdit* addFilter(const QString& name, const QString& caption, int left, int top);

    AppContext m_context;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_until = nullptr;
    QComboBox* m_action = nullptr;
    QTableWidget* m_list = nullptr;
    QLabel* m_count = nullptr;
    QList<AuditTrail::Entry> m_shown;
};
