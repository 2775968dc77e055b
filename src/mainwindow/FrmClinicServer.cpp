#include "FrmClinicServer.h"

#include "ClinicServerActions.h"
#include "ClinicServerTexts.h"
#include "common/CaptionLabel.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/NumericKeyFilter.h"
#include "common/Prompts.h"
#include "widgets/WindowSkin.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace T = ClinicServerTexts;

namespace {

// The busy pointer while the server is asked; back to normal before any message waits for a click.
class BusyPointer final
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { release(); }
    void release()
    {
        if (m_held)
            QApplication::restoreOverrideCursor();
        m_held = false;
    }

private:
    bool m_held = true;
};

QLineEdit* addField(QWidget* panel, QGridLayout* grid, const QString& name, const QString& caption)
{
    auto* field = new QLineEdit(panel);
    field->setObjectName(name);
    const int row = grid->rowCount();
    QLabel* label = addCaptionLabel(field, caption, QRect());
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter in a field does not start a server command by accident.
    button->setAutoDefault(false);
    return button;
}

// Names and addresses arrive typed on a Persian layout or pasted with blanks around them.
QString cleaned(const QLineEdit* field)
{
    return withLatinDigits(field->text()).trimmed();
}

} // namespace

FrmClinicServer::FrmClinicServer(const AppContext& context, ClinicServerActions& actions, QWidget* parent)
    : QDialog(parent), m_context(context), m_actions(actions)
{
    setObjectName(QStringLiteral("FrmClinicServer"));
    setWindowTitle(T::title);

    auto* layout = new QVBoxLayout(this);
    auto* introduction = new QLabel(T::introduction, this);
    introduction->setObjectName(QStringLiteral("introductionLine"));
    introduction->setWordWrap(true);
    layout->addWidget(introduction);

    auto* panel = new QFrame(this);
    Skins::markAsPanel(panel, QStringLiteral("serverPanel"));
    auto* grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    m_host = addField(panel, grid, QStringLiteral("hostBox"), T::hostCaption);
    m_port = addField(panel, grid, QStringLiteral("portBox"), T::portCaption);
    m_port->setMaxLength(5);
    new NumericKeyFilter(*m_context.prompts, m_port);
    m_database = addField(panel, grid, QStringLiteral("databaseBox"), T::databaseCaption);
    m_user = addField(panel, grid, QStringLiteral("userBox"), T::userCaption);
    m_password = addField(panel, grid, QStringLiteral("passwordBox"), T::passwordCaption);
    m_password->setEchoMode(QLineEdit::Password);
    // Addresses, names and passwords read left to right.
    for (QLineEdit* field : {m_host, m_port, m_database, m_user, m_password})
        field->setLayoutDirection(Qt::LeftToRight);

    auto* passwordNote = new QLabel(T::passwordNote, panel);
    passwordNote->setObjectName(QStringLiteral("passwordNote"));
    passwordNote->setWordWrap(true);
    m_password->setAccessibleDescription(T::passwordNote + u' ' + T::pgpassFile);
    grid->addWidget(passwordNote, grid->rowCount(), 0, 1, 2);
    auto* pgpassFile = new QLabel(T::pgpassFile, panel);
    pgpassFile->setObjectName(QStringLiteral("pgpassFile"));
    // A path reads left to right; laid out right to left its dot and slashes would move about.
    pgpassFile->setLayoutDirection(Qt::LeftToRight);
    pgpassFile->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(pgpassFile, grid->rowCount(), 0, 1, 2);

    m_requireEncryption = new QCheckBox(T::requireEncryption, panel);
    m_requireEncryption->setObjectName(QStringLiteral("requireEncryptionBox"));
    m_requireEncryption->setAccessibleName(T::requireEncryption);
    grid->addWidget(m_requireEncryption, grid->rowCount(), 0, 1, 2);
    m_certificateAuthority = new QLineEdit(panel);
    m_certificateAuthority->setObjectName(QStringLiteral("certificateAuthorityBox"));
    m_certificateAuthority->setLayoutDirection(Qt::LeftToRight);
    m_certificateAuthority->setAccessibleDescription(T::certificateAuthorityNote);
    auto* chooseAuthority =
        addButton(panel, QStringLiteral("chooseCertificateAuthorityButton"), T::chooseCertificateAuthority);
    chooseAuthority->setAccessibleDescription(T::certificateAuthorityCaption);
    const int authorityRow = grid->rowCount();
    grid->addWidget(addCaptionLabel(m_certificateAuthority, T::certificateAuthorityCaption, QRect()),
                    authorityRow, 0);
    auto* authorityLine = new QHBoxLayout;
    authorityLine->addWidget(m_certificateAuthority, 1);
    authorityLine->addWidget(chooseAuthority);
    grid->addLayout(authorityLine, authorityRow, 1);
    auto* authorityNote = new QLabel(T::certificateAuthorityNote, panel);
    authorityNote->setObjectName(QStringLiteral("certificateAuthorityNote"));
    authorityNote->setWordWrap(true);
    grid->addWidget(authorityNote, grid->rowCount(), 0, 1, 2);
    layout->addWidget(panel);

    m_securityLine = new QLabel(this);
    m_securityLine->setObjectName(QStringLiteral("connectionSecurityLine"));
    m_securityLine->setWordWrap(true);
    layout->addWidget(m_securityLine);

    auto* commands = new QGridLayout;
    auto* test = addButton(this, QStringLiteral("testConnectionButton"), T::testConnection);
    auto* copy = addButton(this, QStringLiteral("copyToServerButton"), T::copyToServer);
    auto* use = addButton(this, QStringLiteral("useServerButton"), T::useServer);
    auto* back = addButton(this, QStringLiteral("useFolderFilesButton"), T::useFolderFiles);
    auto* close = addButton(this, QStringLiteral("closeButton"), T::close);
    commands->addWidget(test, 0, 0);
    commands->addWidget(copy, 0, 1);
    commands->addWidget(use, 1, 0);
    commands->addWidget(back, 1, 1);
    commands->addWidget(close, 2, 0, 1, 2);
    layout->addLayout(commands);

    connect(test, &QPushButton::clicked, this, &FrmClinicServer::testConnection);
    connect(copy, &QPushButton::clicked, this, &FrmClinicServer::copyToServer);
    connect(use, &QPushButton::clicked, this, &FrmClinicServer::useServer);
    connect(back, &QPushButton::clicked, this, &FrmClinicServer::useFolderFiles);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(chooseAuthority, &QPushButton::clicked, this, &FrmClinicServer::chooseCertificateAuthority);

    showSettings(ServerSettingsFile::read(m_context.dataFolder).value_or(ServerSettings{}));
    showSecurityInUse();
    Skins::applyCurrent(this, m_context);
    // Wrapped texts take the height they need at this width, no more.
    const int width = 560;
    setMinimumWidth(width);
    resize(width, heightForWidth(width));
}

void FrmClinicServer::showSettings(const ServerSettings& settings)
{
    m_host->setText(settings.host);
    m_port->setText(QString::number(settings.port));
    m_database->setText(settings.databaseName);
    m_user->setText(settings.userName);
    m_requireEncryption->setChecked(settings.requireEncryption);
    m_certificateAuthority->setText(settings.certificateAuthorityFile);
}

void FrmClinicServer::showSecurityInUse()
{
    switch (m_actions.connectionSecurity(m_context.dataFolder)) {
    case ClinicServer::ConnectionSecurity::NotOnServer:
        m_securityLine->clear();
        m_securityLine->hide();
        return;
    case ClinicServer::ConnectionSecurity::Unencrypted:
        m_securityLine->setText(T::inUseUnencrypted);
        break;
    case ClinicServer::ConnectionSecurity::EncryptedUnverified:
        m_securityLine->setText(T::inUseUnverified);
        break;
    case ClinicServer::ConnectionSecurity::EncryptedVerified:
        m_securityLine->setText(T::inUseVerified);
        break;
    case ClinicServer::ConnectionSecurity::Unknown:
        m_securityLine->setText(T::inUseUnknown);
        break;
    }
    m_securityLine->show();
}

void FrmClinicServer::chooseCertificateAuthority()
{
    const QString current = m_certificateAuthority->text().trimmed();
    const QString chosen = m_context.prompts->openFileName(
        this, T::certificateAuthorityDialog,
        current.isEmpty() ? QStringLiteral("/etc/ssl/certs") : QFileInfo(current).absolutePath(),
        T::certificateAuthorityFilter);
    if (!chosen.isEmpty())
        m_certificateAuthority->setText(chosen);
}

std::optional<ServerSettings> FrmClinicServer::typedSettings()
{
    const auto refuse = [this](QLineEdit* field, const QString& text) {
        showError(text);
        field->setFocus();
        return std::nullopt;
    };
    ServerSettings settings;
    settings.host = cleaned(m_host);
    settings.databaseName = m_database->text().trimmed();
    settings.userName = m_user->text().trimmed();
    settings.requireEncryption = m_requireEncryption->isChecked();
    settings.certificateAuthorityFile = m_certificateAuthority->text().trimmed();
    if (settings.host.isEmpty())
        return refuse(m_host, T::hostMissing);
    bool isNumber = false;
    settings.port = cleaned(m_port).toInt(&isNumber);
    if (!isNumber || settings.port < 1 || settings.port > 65535)
        return refuse(m_port, T::portInvalid);
    if (settings.databaseName.isEmpty())
        return refuse(m_database, T::databaseMissing);
    if (settings.userName.isEmpty())
        return refuse(m_user, T::userMissing);
    // Qt hands the connection options to libpq with every ";" made a blank.
    if (settings.certificateAuthorityFile.contains(u';'))
        return refuse(m_certificateAuthority, T::certificateAuthoritySemicolon);
    return settings;
}

QString FrmClinicServer::passwordFor(const ServerSettings& settings) const
{
    if (!m_password->text().isEmpty())
        return m_password->text();
    return ServerSettingsFile::passwordFromPgpass(settings);
}

void FrmClinicServer::testConnection()
{
    const auto settings = typedSettings();
    if (!settings)
        return;
    BusyPointer busy;
    const ClinicServer::Result result = m_actions.testConnection(*settings, passwordFor(*settings));
    busy.release();
    if (!result.ok) {
        showError(result.message);
        return;
    }
    QString security;
    switch (result.security) {
    case ClinicServer::ConnectionSecurity::NotOnServer:
    case ClinicServer::ConnectionSecurity::Unknown:
        break;
    case ClinicServer::ConnectionSecurity::Unencrypted:
        security = T::testedUnencrypted;
        break;
    case ClinicServer::ConnectionSecurity::EncryptedUnverified:
        security = T::testedUnverified;
        break;
    case ClinicServer::ConnectionSecurity::EncryptedVerified:
        security = T::testedVerified;
        break;
    }
    showDone(security.isEmpty() ? T::connectionWorks : T::connectionWorks + u'\n' + security);
}

void FrmClinicServer::copyToServer()
{
    const auto settings = typedSettings();
    if (!settings)
        return;
    if (!m_context.prompts->askYesNo(this, CommonTexts::attentionTitle, T::confirmCopy))
        return;
    BusyPointer busy;
    const ClinicServer::Result result =
        m_actions.copyFolderToServer(m_context.dataFolder, *settings, passwordFor(*settings));
    busy.release();
    if (!result.ok)
        showError(result.message);
    else
        showDone(result.message.isEmpty() ? T::copied : result.message);
}

void FrmClinicServer::useServer()
{
    auto settings = typedSettings();
    if (!settings)
        return;
    const QString password = passwordFor(*settings);
    BusyPointer busy;
    // The server is only taken into use, and remembered, once it answers with these settings.
    ClinicServer::Result result = m_actions.testConnection(*settings, password);
    if (result.ok)
        result = m_actions.useServer(m_context.dataFolder, *settings, password);
    if (!result.ok) {
        busy.release();
        showError(result.message);
        return;
    }
    settings->inUse = true;
    QString writeError;
    if (!ServerSettingsFile::write(m_context.dataFolder, *settings, &writeError)) {
        // Working on the server now but on the files at the next start would split the clinic's
        // records without anyone noticing: go back to the files at once and say so.
        const ClinicServer::Result back =
            m_actions.useFolderFiles(m_context.dataFolder, Database::PageCheck::AtOpen);
        busy.release();
        showSecurityInUse();
        showError(writeError + u'\n' +
                  (back.ok ? T::stillOnFolderFiles : back.message + u'\n' + T::stillOnServer));
        return;
    }
    busy.release();
    showSecurityInUse();
    showDone(T::usingServer);
}

void FrmClinicServer::useFolderFiles()
{
    BusyPointer busy;
    const ClinicServer::Result result =
        m_actions.useFolderFiles(m_context.dataFolder, Database::PageCheck::AtOpen);
    if (!result.ok) {
        busy.release();
        showError(result.message);
        return;
    }
    // The stored settings stay for a later return to the server; only the choice changes.
    std::optional<ServerSettings> stored = ServerSettingsFile::read(m_context.dataFolder);
    if (stored && stored->inUse) {
        stored->inUse = false;
        QString writeError;
        if (!ServerSettingsFile::write(m_context.dataFolder, *stored, &writeError)) {
            busy.release();
            showError(writeError + u'\n' + T::serverAgainNextStart);
            return;
        }
    }
    busy.release();
    showSecurityInUse();
    showDone(T::usingFolderFiles);
}

void FrmClinicServer::showError(const QString& text)
{
    m_context.prompts->message(this, CommonTexts::warningTitle, text, Prompts::Icon::Exclamation, true);
}

void FrmClinicServer::showDone(const QString& text)
{
    m_context.prompts->message(this, CommonTexts::noticeTitle, text, Prompts::Icon::Information, true);
}
