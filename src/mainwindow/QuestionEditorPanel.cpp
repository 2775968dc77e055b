#include "QuestionEditorPanel.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "common/CaptionLabel.h"
#include "widgets/WindowSkin.h"

#include "MainViews.h"
#include "PanelHost.h"
#include "SettingsTexts.h"
#include "common/CommonTexts.h"
#include "common/NumericKeyFilter.h"
#include "common/NumericValue.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/DataView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

namespace {

const QString kIdColumn = QStringLiteral("ID");
const QString kTextColumn = QStringLiteral("QUS");

// The number the box settles on: empty and anything below 1 become 1, anything above 35 becomes 35,
// and a number with leading zeros or trailing letters becomes its plain decimal form, so that the
// box never shows a number whose item cannot be found.
QString settledNumber(const QString& text)
{
    if (text.isEmpty())
        return QString::number(QuestionEditorPanel::kFirstItem);
    const double value = numericValue(text);
    if (value > QuestionEditorPanel::kLastItem)
        return QString::number(QuestionEditorPanel::kLastItem);
    if (!(value >= QuestionEditorPanel::kFirstItem))
        return QString::number(QuestionEditorPanel::kFirstItem);
    return QString::number(static_cast<long long>(value));
}

QPushButton* addButton(QWidget* panel, const QString& name, const QString& caption, int left)
{
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(twipsRect(left, 2340, 1500, 465));
    return button;
}

} // namespace

QuestionEditorPanel::QuestionEditorPanel(const AppContext& context, MainViews& views, PanelHost& host,
                                         QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    Skins::markAsPanel(this, QStringLiteral("Frame1"));
    namespace T = SettingsTexts;

    m_numberBox = new QLineEdit(this);
    m_numberBox->setObjectName(QStringLiteral("Text18"));
    m_numberBox->setGeometry(twipsRect(4080, 180, 900, 405));
    m_numberBox->setAlignment(Qt::AlignCenter);
    addCaptionLabel(m_numberBox, T::itemNumberCaption, twipsRect(5040, 180, 1695, 405),
                    Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    new NumericKeyFilter(*m_context.prompts, m_numberBox);

    m_textBox = new QPlainTextEdit(this);
    m_textBox->setObjectName(QStringLiteral("Text21"));
    m_textBox->setGeometry(twipsRect(180, 705, 6555, 1515));
    m_textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QTextOption rightAligned(Qt::AlignRight | Qt::AlignAbsolute);
    rightAligned.setTextDirection(Qt::RightToLeft);
    rightAligned.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_textBox->document()->setDefaultTextOption(rightAligned);
    m_textBox->setAccessibleName(T::itemText);

    auto* next = addButton(this, QStringLiteral("Command13"), T::nextItem, 5235);
    auto* previous = addButton(this, QStringLiteral("Command18"), T::previousItem, 3600);
    auto* saveButton = addButton(this, QStringLiteral("Command16"), T::save, 1890);
    auto* cancelButton = addButton(this, QStringLiteral("Command15"), T::cancel, 180);

    connect(m_numberBox, &QLineEdit::textChanged, this, &QuestionEditorPanel::applyChangeRule);
    connect(m_textBox, &QPlainTextEdit::textChanged, this, &QuestionEditorPanel::textEdited);
    connect(next, &QPushButton::clicked, this, [this] { page(+1); });
    connect(previous, &QPushButton::clicked, this, [this] { page(-1); });
    connect(saveButton, &QPushButton::clicked, this, &QuestionEditorPanel::save);
    connect(cancelButton, &QPushButton::clicked, this, &QuestionEditorPanel::cancel);
    hide();
}

void QuestionEditorPanel::open()
{
    m_host.closePanels();
    show();
    raise();
    setNumber(QString::number(kFirstItem));
    m_host.showSettingsPanel();
}

void QuestionEditorPanel::viewsReopened()
{
    // Reading the view again lost its filter and any pending edit. Put it back on the shown item;
    // an edit typed before is still in the text box and becomes pending again for that same item.
    if (!isHidden() && !m_shownItem.isEmpty())
        showItem(m_shownItem);
}

void QuestionEditorPanel::setVisible(bool visible)
{
    if (!visible && !isHidden() && m_edited) {
        m_views.questions->cancelChanges();
        m_edited = false;
        showStoredText();
    }
    QFrame::setVisible(visible);
}

void QuestionEditorPanel::setNumber(const QString& number)
{
    if (m_numberBox->text() == number)
        applyChangeRule(number); // setText would not announce an unchanged text
    else
        m_numberBox->setText(number);
}

void QuestionEditorPanel::applyChangeRule(const QString& text)
{
    if (m_updating)
        return;
    const QString settled = settledNumber(text);
    if (settled != text) {
        m_numberBox->setText(settled); // runs the rule again for the settled number
        return;
    }
    showItem(settled);
}

void QuestionEditorPanel::page(int step)
{
    const QString target = QString::number(wholeNumericValue(m_numberBox->text()) + step);
    // Settle an unsaved edit while the box still shows its item, so that the question and the
    // screen agree; at either end nothing moves and nothing is asked.
    if (settledNumber(target) != m_shownItem && m_edited && !leaveEditedItem())
        return;
    m_numberBox->setText(target);
}

bool QuestionEditorPanel::leaveEditedItem()
{
    const bool saveIt = m_context.prompts->askYesNo(window(), CommonTexts::attentionTitle,
                                                    SettingsTexts::saveEditedItem.arg(m_shownItem));
    if (saveIt) {
        // The view still stands on the item the text was typed for.
        if (!m_views.questions->commit()) {
            m_context.prompts->message(window(), CommonTexts::warningTitle, SettingsTexts::changesNotSaved,
                                       Prompts::Icon::Exclamation);
            return false;
        }
        AuditTrail::record(m_context, AuditTrail::Action::SettingsChanged, {},
                           AuditTexts::itemTextDetail(m_shownItem), window());
    } else {
        m_views.questions->cancelChanges();
    }
    m_edited = false;
    return true;
}

void QuestionEditorPanel::showItem(const QString& number)
{
    if (number != m_shownItem && m_edited && !leaveEditedItem()) {
        // The edit could not be saved: stay on its item rather than lose it.
        m_updating = true;
        m_numberBox->setText(m_shownItem);
        m_updating = false;
        return;
    }
    m_views.questions->filterBy(kIdColumn, number);
    m_shownItem = number;
    if (m_edited && m_views.questions->hasCurrentRow()) {
        m_views.questions->setField(kTextColumn, m_textBox->toPlainText());
        return;
    }
    m_edited = false;
    showStoredText();
}

void QuestionEditorPanel::showStoredText()
{
    m_updating = true;
    m_textBox->setPlainText(m_views.questions->field(kTextColumn));
    m_updating = false;
    // Without a row there is nowhere to put a text.
    m_textBox->setReadOnly(!m_views.questions->hasCurrentRow());
}

void QuestionEditorPanel::textEdited()
{
    if (m_updating)
        return;
    DataView& view = *m_views.questions;
    if (view.field(kIdColumn) != m_shownItem)
        view.filterBy(kIdColumn, m_shownItem);
    view.setField(kTextColumn, m_textBox->toPlainText());
    m_edited = view.hasChanges();
}

void QuestionEditorPanel::save()
{
    DataView& view = *m_views.questions;
    const bool saved = view.hasCurrentRow() && view.field(kIdColumn) == m_shownItem && view.commit();
    if (!saved) {
        m_context.prompts->message(window(), CommonTexts::warningTitle, SettingsTexts::changesNotSaved,
                                   Prompts::Icon::Exclamation);
        return;
    }
    m_edited = false;
    AuditTrail::record(m_context, AuditTrail::Action::SettingsChanged, {},
                       AuditTexts::itemTextDetail(m_shownItem), window());
    m_context.prompts->notice(window(), CommonTexts::changesSaved);
}

void QuestionEditorPanel::cancel()
{
    m_views.questions->requery();
    m_edited = false;
    hide();
    setNumber(QString::number(kFirstItem));
}
