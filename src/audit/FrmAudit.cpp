#include "FrmAudit.h"

#include "AuditCsv.h"
#include "AuditTexts.h"
#include "calendar/ShamsiDate.h"
#include "common/CaptionLabel.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/Database.h"
#include "widgets/WindowSkin.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>

namespace {

namespace T = AuditTexts;

QPushButton* addCommand(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(geometry);
    return button;
}

} // namespace

FrmAudit::FrmAudit(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("FrmAudit"));
    setWindowTitle(T::windowTitle);
    setFixedSize(twipsSize(13500, 8400));

    // Filters: two rows of caption and box, right to left.
    m_user = addFilter(QStringLiteral("userFilter"), T::userCaption, 10500, 150);
    m_code = addFilter(QStringLiteral("codeFilter"), T::codeCaption, 6300, 150);
    m_action = new QComboBox(this);
    m_action->setObjectName(QStringLiteral("actionFilter"));
    m_action->setGeometry(twipsRect(600, 150, 2400, 360));
    addCaptionLabel(m_action, T::actionCaption, twipsRect(3060, 150, 1080, 360));
    m_action->addItem(T::anyAction, QString());
    for (AuditTrail::Action action : AuditTrail::allActions()) {
        const QString key = AuditTrail::key(action);
        m_action->addItem(AuditCsv::actionName(key), key);
    }
    m_from = addFilter(QStringLiteral("fromDate"), T::fromCaption, 10500, 630);
    m_until = addFilter(QStringLiteral("untilDate"), T::untilCaption, 6300, 630);
    for (QLineEdit* date : {m_from, m_until})
        date->setPlaceholderText(T::datePlaceholder);

    auto* show =
        addCommand(this, QStringLiteral("showButton"), T::showCommand, twipsRect(600, 630, 2400, 360));
    connect(show, &QPushButton::clicked, this, &FrmAudit::showRows);
    for (QLineEdit* box : {m_user, m_code, m_from, m_until})
        connect(box, &QLineEdit::returnPressed, this, &FrmAudit::showRows);

    m_list = new QTableWidget(this);
    m_list->setObjectName(QStringLiteral("auditList"));
    m_list->setAccessibleName(T::listCaption);
    m_list->setGeometry(twipsRect(150, 1140, 13200, 6150));
    m_list->setColumnCount(static_cast<int>(AuditCsv::headings().size()) - 1); // the hash is for the file
    m_list->setHorizontalHeaderLabels(AuditCsv::headings().mid(0, m_list->columnCount()));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("auditCount"));
    m_count->setGeometry(twipsRect(10200, 7455, 3150, 450));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* check =
        addCommand(this, QStringLiteral("checkButton"), T::checkCommand, twipsRect(6600, 7455, 3300, 450));
    connect(check, &QPushButton::clicked, this, &FrmAudit::checkChain);
    auto* exportButton =
        addCommand(this, QStringLiteral("exportButton"), T::exportCommand, twipsRect(3900, 7455, 2400, 450));
    connect(exportButton, &QPushButton::clicked, this, &FrmAudit::exportRows);
    auto* close =
        addCommand(this, QStringLiteral("closeButton"), T::closeCommand, twipsRect(150, 7455, 1800, 450));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    Skins::applyCurrent(this, m_context);
    showRows();
}

FrmAudit::~FrmAudit() = default;

QLineEdit* FrmAudit::addFilter(const QString& name, const QString& caption, int left, int top)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setGeometry(twipsRect(left - 2700, top, 2640, 360));
    addCaptionLabel(box, caption, twipsRect(left, top, 1500, 360));
    return box;
}

std::optional<QDateTime> FrmAudit::dayStart(const QString& typed, bool* valid)
{
    *valid = true;
    const QString text = withLatinDigits(typed).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("\\s*[/.\\-]\\s*")));
    bool ok = parts.size() == 3;
    JalaliDate jalali;
    if (ok)
        jalali.year = parts.at(0).toInt(&ok);
    if (ok)
        jalali.month = parts.at(1).toInt(&ok);
    if (ok)
        jalali.day = parts.at(2).toInt(&ok);
    const QDate date = ok ? fromJalali(jalali) : QDate();
    if (!date.isValid()) {
        *valid = false;
        return std::nullopt;
    }
    return QDateTime(date, QTime(0, 0)).toUTC();
}

bool FrmAudit::showRows()
{
    AuditTrail::Filter filter;
    filter.user = m_user->text().trimmed();
    filter.code = subjectCodeAsStored(m_code->text());
    filter.action = m_action->currentData().toString();
    bool fromValid = true;
    bool untilValid = true;
    filter.from = dayStart(m_from->text(), &fromValid);
    // The last day named is listed whole.
    filter.until = dayStart(m_until->text(), &untilValid);
    if (filter.until)
        filter.until = QDateTime(filter.until->toLocalTime().date().addDays(1), QTime(0, 0)).toUTC();
    if (!fromValid || !untilValid) {
        m_context.prompts->message(this, CommonTexts::warningTitle, T::badDate, Prompts::Icon::Exclamation,
                                   true);
        (fromValid ? m_until : m_from)->setFocus();
        return false;
    }
    const std::optional<QList<AuditTrail::Entry>> rows =
        AuditTrail::entries(Database::connection(m_context.dataFolder, Database::File::Clinical), filter);
    if (!rows) {
        m_context.prompts->message(this, CommonTexts::warningTitle, T::unreadable, Prompts::Icon::Exclamation,
                                   true);
        return false;
    }
    m_shown = *rows;
    m_list->setRowCount(0);
    m_list->setRowCount(static_cast<int>(m_shown.size()));
    for (int row = 0; row < m_shown.size(); ++row) {
        const QStringList texts = AuditCsv::cells(m_shown.at(row));
        for (int column = 0; column < m_list->columnCount(); ++column)
            m_list->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    }
    m_list->resizeColumnsToContents();
    m_count->setText(T::rowsShown(m_shown.size()));
    m_count->setAccessibleName(m_count->text());
    return true;
}

void FrmAudit::checkChain()
{
    const AuditTrail::CheckResult result =
        AuditTrail::check(Database::connection(m_context.dataFolder, Database::File::Clinical));
    using F = AuditTrail::CheckResult::Finding;
    switch (result.finding) {
    case F::Intact:
        m_context.prompts->message(this, CommonTexts::attentionTitle, T::chainIntact(result.rows),
                                   Prompts::Icon::Information, true);
        return;
    case F::Changed:
        m_context.prompts->message(this, CommonTexts::warningTitle, T::chainChanged(result.brokenAt),
                                   Prompts::Icon::Exclamation, true);
        return;
    case F::Missing:
        m_context.prompts->message(this, CommonTexts::warningTitle, T::chainMissing(result.brokenAt),
                                   Prompts::Icon::Exclamation, true);
        return;
    case F::Unreadable:
        break;
    }
    m_context.prompts->message(this, CommonTexts::warningTitle, T::unreadable, Prompts::Icon::Exclamation,
                               true);
}

void FrmAudit::exportRows()
{
    const QString proposed = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(QStringLiteral("Velmora-audit-") +
                                           ShamsiDate(m_context.clock->now().date(), 0).replace(u'/', u'-') +
                                           QStringLiteral(".csv"));
    QString path = m_context.prompts->saveFileName(this, T::saveDialogCaption, proposed, T::csvFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    QString error;
    if (!AuditCsv::write(path, m_shown, &error)) {
        m_context.prompts->message(this, CommonTexts::warningTitle,
                                   T::exportFailed + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") +
                                       error,
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    AuditTrail::record(m_context, AuditTrail::Action::Exported, {},
                       T::windowTitle + QStringLiteral(": ") + T::rowsShown(m_shown.size()), this);
    m_context.prompts->message(this, CommonTexts::attentionTitle,
                               T::exportedTo + QStringLiteral("\r\n") + path, Prompts::Icon::Information,
                               true);
}
