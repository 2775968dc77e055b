#include "SettingsPanel.h"
#include "widgets/WindowSkin.h"

#include "ClinicServerTexts.h"
#include "EntryChecksDialog.h"
#include "LogoFile.h"
#include "MainViews.h"
#include "PanelHost.h"
#include "SettingsTexts.h"
#include "audit/AuditTexts.h"
#include "audit/AuditTrail.h"
#include "common/CommonTexts.h"
#include "common/FileProblem.h"
#include "common/Navigator.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "widgets/FieldBinding.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

QPushButton* addButton(QWidget* panel, const QString& name, const QString& caption, int row)
{
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    // Nine buttons share the panel's height.
    button->setGeometry(twipsRect(3000, 105 + row * 365, 2115, 330));
    return button;
}

} // namespace

SettingsPanel::SettingsPanel(const AppContext& context, MainViews& views, PanelHost& host, QWidget* parent)
    : QFrame(parent), m_context(context), m_views(views), m_host(host)
{
    Skins::markAsPanel(this, QStringLiteral("Frame8"));
    namespace T = SettingsTexts;

    m_logoBox = new QLabel(this);
    m_logoBox->setObjectName(QStringLiteral("Picture2"));
    m_logoBox->setFrameShape(QFrame::Box);
    m_logoBox->setGeometry(twipsRect(150, 150, 2700, 1950));
    m_logoBox->setAlignment(Qt::AlignCenter);

    auto* flagCaption = new QLabel(T::logoFlagCaption, this);
    flagCaption->setObjectName(QStringLiteral("Label_Check1"));
    flagCaption->setGeometry(twipsRect(150, 2190, 2700, 375));
    flagCaption->setAlignment(Qt::AlignCenter);
    flagCaption->setWordWrap(true);
    m_logoFlag = new QCheckBox(this);
    m_logoFlag->setObjectName(QStringLiteral("Check1"));
    m_logoFlag->setGeometry(twipsRect(150, 2610, 2700, 405));
    flagCaption->setBuddy(m_logoFlag);
    m_logoFlag->setAccessibleName(T::logoFlagCaption);
    // The binding writes the field first (it was connected first), then the row is committed.
    FieldBinding::bind(*m_views.theme, QStringLiteral("Check1"), m_logoFlag);
    connect(m_logoFlag, &QCheckBox::toggled, this, &SettingsPanel::logoFlagChanged);
    showFlagCaption();

    auto* chooseLogoButton = addButton(this, QStringLiteral("Command65"), T::chooseLogo, 0);
    auto* editButton = addButton(this, QStringLiteral("Cmndedit"), T::editQuestions, 1);
    auto* profileButton = addButton(this, QStringLiteral("Command67"), T::clinicProfile, 2);
    auto* themeButton = addButton(this, QStringLiteral("Command68"), T::changeTheme, 3);
    auto* serverButton = addButton(this, QStringLiteral("clinicServerButton"), ClinicServerTexts::title, 4);
    auto* backupButton = addButton(this, QStringLiteral("backupButton"), T::backupAndRestore, 5);
    auto* accountsButton = addButton(this, QStringLiteral("accountsButton"), T::accounts, 6);
    m_auditButton = addButton(this, QStringLiteral("auditButton"), AuditTexts::openCommand, 7);
    auto* closeButton = addButton(this, QStringLiteral("Command69"), T::close, 8);
    // Under the logo flag, in the logo's column: the nine rows of buttons are full.
    auto* checksButton = new QPushButton(T::entryChecks, this);
    checksButton->setObjectName(QStringLiteral("entryChecksButton"));
    checksButton->setAccessibleName(T::entryChecks);
    checksButton->setGeometry(twipsRect(150, 3030, 2700, 330));
    connect(checksButton, &QPushButton::clicked, this, [this] {
        EntryChecksDialog dialog(m_context, this);
        dialog.exec();
    });

    connect(chooseLogoButton, &QPushButton::clicked, this, &SettingsPanel::chooseLogo);
    connect(editButton, &QPushButton::clicked, this, [this] { m_host.openQuestionEditor(); });
    connect(profileButton, &QPushButton::clicked, this, [this] { m_host.openClinicProfile(); });
    connect(themeButton, &QPushButton::clicked, this, [this] { m_host.openThemeChooser(); });
    connect(serverButton, &QPushButton::clicked, this, [this] { m_host.openClinicServer(); });
    connect(backupButton, &QPushButton::clicked, this,
            [this] { m_context.navigator->openBackupAndRestore(); });
    connect(accountsButton, &QPushButton::clicked, this, [this] { m_context.navigator->openAccounts(); });
    connect(m_auditButton, &QPushButton::clicked, this, [this] { m_context.navigator->openAuditTrail(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_host.closePanels(); });
    hide();
}

void SettingsPanel::open()
{
    m_host.closePanels();
    m_host.showSettingsPanel();
    // Who may read the audit trail can change with the user signed in.
    m_auditButton->setVisible(AuditTrail::mayView(m_context));
    raise();
}

void SettingsPanel::viewsReopened()
{
    // The binding has shown the stored flag; the caption must say the same.
    showFlagCaption();
}

void SettingsPanel::showLogo(const QImage& logo)
{
    if (logo.isNull()) {
        m_logoBox->clear();
        return;
    }
    // Stretched over the whole inner area, as the prints stretch it over theirs.
    const QSize inner = m_logoBox->contentsRect().size();
    m_logoBox->setPixmap(
        QPixmap::fromImage(logo.scaled(inner, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void SettingsPanel::showFlagCaption()
{
    m_logoFlag->setText(m_logoFlag->isChecked() ? SettingsTexts::logoShown : SettingsTexts::logoHidden);
    m_logoFlag->setAccessibleDescription(m_logoFlag->text());
}

void SettingsPanel::logoFlagChanged()
{
    showFlagCaption();
    // Committed at once, so that the prints follow the caption. The profile form drops its unsaved
    // edits when it closes, so nothing but the flag can be pending in the row here.
    m_views.theme->commit();
}

void SettingsPanel::chooseLogo()
{
    m_host.closePanels();
    m_host.showSettingsPanel();

    const QString fileName = m_context.prompts->openFileName(window(), QString(), QString(), QString());
    if (!fileName.isEmpty()) {
        const QImage picture = LogoFile::read(fileName);
        // A file that is not a picture loads nothing; an earlier choice stays in the holder.
        if (!picture.isNull()) {
            m_chosenLogo = picture;
            showLogo(m_chosenLogo);
        }
    }
    if (m_chosenLogo.isNull())
        return;

    const bool written = LogoFile::store(m_chosenLogo, m_context.dataFolder);
    // The logo box and the prints show what the file now holds.
    m_host.reloadLogo();
    if (written) {
        AuditTrail::record(m_context, AuditTrail::Action::SettingsChanged, {}, AuditTexts::logoDetail,
                           window());
        m_context.prompts->message(window(), CommonTexts::attentionTitle, SettingsTexts::logoSaved,
                                   Prompts::Icon::Information);
    } else {
        // On the clinic server the logo is a row, and its refusal says nothing of a file.
        const QString& folder = m_context.dataFolder;
        const QString text = ClinicServer::isInUse(folder)
                                 ? SettingsTexts::logoNotSaved
                                 : withWriteProblem(SettingsTexts::logoNotSaved, LogoFile::path(folder));
        m_context.prompts->message(window(), CommonTexts::warningTitle, text, Prompts::Icon::Exclamation);
    }
    m_views.theme->requery();
}
