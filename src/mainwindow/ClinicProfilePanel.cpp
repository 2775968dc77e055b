#include "ClinicProfilePanel.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "widgets/WindowSkin.h"

#include "MainViews.h"
#include "PanelHost.h"
#include "SettingsTexts.h"
#include "common/CaptionLabel.h"
#include "common/CommonTexts.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/DataView.h"
#include "widgets/FieldBinding.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ClinicProfilePanel::ClinicProfilePanel(const AppContext& context, MainViews& views, PanelHost& host,
                                       QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    Skins::markAsPanel(this, QStringLiteral("Frame9"));
    namespace T = SettingsTexts;

    addField(QStringLiteral("Text31"), QStringLiteral("Name"), T::nameCaption, 0);
    addField(QStringLiteral("Text30"), QStringLiteral("Adress"), T::addressCaption, 1);
    addField(QStringLiteral("Text24"), QStringLiteral("T1"), T::emailCaption, 2);
    addField(QStringLiteral("Text29"), QStringLiteral("T2"), T::telegramCaption, 3);
    addField(QStringLiteral("Text2"), QStringLiteral("T3"), T::instagramCaption, 4);
    addField(QStringLiteral("Text14"), QStringLiteral("T4"), T::siteCaption, 5);
    addField(QStringLiteral("Text27"), QStringLiteral("T5"), T::twitterCaption, 6);
    addField(QStringLiteral("Text28"), QStringLiteral("T6"), T::phoneCaption, 7);

    // The clinic name line of the main window follows every keystroke, before any save.
    auto* name = findChild<QLineEdit*>(QStringLiteral("Text31"));
    connect(name, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_host.showClinicName(text); });

    auto* saveButton = new QPushButton(T::save, this);
    saveButton->setObjectName(QStringLiteral("Command64"));
    saveButton->setAccessibleName(T::save);
    saveButton->setGeometry(twipsRect(3480, 4200, 1500, 510));
    auto* cancelButton = new QPushButton(T::cancel, this);
    cancelButton->setObjectName(QStringLiteral("Command7"));
    cancelButton->setAccessibleName(T::cancel);
    cancelButton->setGeometry(twipsRect(1740, 4200, 1500, 510));

    connect(saveButton, &QPushButton::clicked, this, &ClinicProfilePanel::save);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

void ClinicProfilePanel::addField(const QString& name, const QString& column, const QString& caption, int row)
{
    const int top = 180 + row * 480;
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(twipsRect(240, top, 4620, 405));
    // Aligned to the reading start, the right.
    addCaptionLabel(edit, caption, twipsRect(4950, top, 1560, 405), Qt::AlignLeading | Qt::AlignVCenter);
    FieldBinding::bind(*m_views.theme, column, edit);
}

void ClinicProfilePanel::open()
{
    m_host.closePanels();
    setGeometry(twipsRect(1635, 640, 6680, 4935));
    show();
    raise();
    // The form shows the stored row; edits that were not saved are gone.
    m_views.theme->requery();
}

void ClinicProfilePanel::viewsReopened() {}

void ClinicProfilePanel::setVisible(bool visible)
{
    if (!visible && !isHidden() && m_views.theme->hasChanges())
        m_views.theme->cancelChanges();
    QFrame::setVisible(visible);
}

void ClinicProfilePanel::save()
{
    if (!m_views.theme->commit()) {
        // The form stays open with the edits, so that nothing typed is lost and nobody is told it
        // was saved.
        m_context.prompts->message(window(), CommonTexts::warningTitle, SettingsTexts::changesNotSaved,
                                   Prompts::Icon::Exclamation);
        return;
    }
    m_views.theme->requery();
    AuditTrail::record(m_context, AuditTrail::Action::SettingsChanged, {}, AuditTexts::clinicProfileDetail,
                       window());
    hide();
    m_host.rebuildContactLines();
    m_context.prompts->notice(window(), CommonTexts::changesSaved);
}
