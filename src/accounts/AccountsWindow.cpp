#include "AccountsWindow.h"

#include "AccountSession.h"
#include "AccountTexts.h"
#include "PasswordHash.h"
#include "common/AppContext.h"
#include "common/CommonTexts.h"
#include "common/DigitText.h"
#include "common/Prompts.h"
#include "widgets/WindowSkin.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace T = AccountTexts;

namespace {

constexpr int kShortestPassword = 8;

QLabel* captioned(QFormLayout* form, const QString& caption, QWidget* field, const QString& name)
{
    field->setObjectName(name);
    field->setAccessibleName(caption);
    auto* label = new QLabel(caption, field->parentWidget());
    label->setObjectName(QStringLiteral("Label_") + name);
    label->setBuddy(field);
    form->addRow(label, field);
    return label;
}

QComboBox* roleBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (Role role : {Role::Clinician, Role::Reception, Role::Administrator})
        box->addItem(roleName(role), roleCode(role));
    return box;
}

} // namespace

AccountDialog::AccountDialog(const AppContext& context, Prompts& prompts, Kind kind, const QString& account,
                             QWidget* parent)
    : QDialog(parent), m_context{context.dataFolder, context.sharedFolder}, m_folder(context.dataFolder),
      m_prompts(prompts), m_kind(kind), m_account(account)
{
    setObjectName(QStringLiteral("AccountDialog"));
    setWindowTitle(kind == Kind::FirstAdministrator ? T::firstAdministratorTitle
                   : kind == Kind::NewAccount       ? T::newAccountTitle
                                                    : T::resetPasswordTitle);
    setMinimumWidth(460);
    auto* layout = new QVBoxLayout(this);
    if (kind == Kind::FirstAdministrator) {
        auto* heading = new QLabel(T::firstAdministratorHeading, this);
        heading->setWordWrap(true);
        layout->addWidget(heading);
    }
    auto* form = new QFormLayout;
    m_userName = new QLineEdit(this);
    captioned(form, T::userNameCaption, m_userName, QStringLiteral("userName"));
    if (kind == Kind::NewPassword) {
        m_userName->setText(account);
        m_userName->setReadOnly(true);
    }
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    captioned(form, T::passwordCaption, m_password, QStringLiteral("password"));
    m_repeat = new QLineEdit(this);
    m_repeat->setEchoMode(QLineEdit::Password);
    captioned(form, T::repeatPasswordCaption, m_repeat, QStringLiteral("repeatPassword"));
    if (kind == Kind::NewAccount) {
        m_role = roleBox(this);
        captioned(form, T::roleCaption, m_role, QStringLiteral("role"));
    }
    layout->addLayout(form);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(T::save, this);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setDefault(true);
    auto* cancel = new QPushButton(T::cancel, this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_save, &QPushButton::clicked, this, &AccountDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Skins::applyCurrent(this, m_context);
}

void AccountDialog::save()
{
    if (m_hashing.isWaiting())
        return;
    const QString name =
        m_kind == Kind::NewPassword ? m_account : AccountStore::cleanName(m_userName->text());
    const QString password = m_password->text();
    const bool same = password == m_repeat->text();
    m_password->clear();
    m_repeat->clear();
    QString refusal;
    if (name.isEmpty())
        refusal = T::userNameInvalid;
    else if (!same)
        refusal = T::passwordsDiffer;
    else if (password.size() < kShortestPassword)
        refusal = T::passwordTooShort;
    if (!refusal.isEmpty()) {
        m_status->setText(refusal);
        (name.isEmpty() ? m_userName : m_password)->setFocus();
        return;
    }
    const Role role = m_kind == Kind::FirstAdministrator ? Role::Administrator
                      : m_role ? roleFromCode(m_role->currentData().toString()).value_or(Role::Reception)
                               : Role::Reception;
    m_save->setEnabled(false);
    m_status->setText(T::hashing);
    m_hashing.start([password] { return PasswordHash::make(password); },
                    [this, name, role](const QString& hash) {
                        m_save->setEnabled(true);
                        const AccountStore::Result stored =
                            hash.isEmpty() ? AccountStore::Result{false, T::accountNotStored}
                            : m_kind == Kind::NewPassword
                                ? AccountStore::setHash(m_folder, name, hash)
                                : AccountStore::addAccount(m_folder, name, hash, role);
                        if (!stored.ok) {
                            m_status->clear();
                            m_prompts.message(this, CommonTexts::warningTitle, stored.message,
                                              Prompts::Icon::Exclamation, true);
                            return;
                        }
                        m_storedName = name;
                        accept();
                    });
}

AccountsWindow::AccountsWindow(AccountSession& session, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_session(session), m_prompts(prompts)
{
    setObjectName(QStringLiteral("AccountsWindow"));
    setWindowTitle(T::accountsTitle);
    setMinimumSize(520, 420);
    auto* layout = new QVBoxLayout(this);

    auto* listCaption = new QLabel(T::accountsList, this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("accounts"));
    m_list->setAccessibleName(T::accountsList);
    listCaption->setBuddy(m_list);
    layout->addWidget(listCaption);
    layout->addWidget(m_list);

    auto* commands = new QHBoxLayout;
    auto* add = new QPushButton(T::addAccount, this);
    add->setObjectName(QStringLiteral("addAccount"));
    auto* password = new QPushButton(T::resetPassword, this);
    password->setObjectName(QStringLiteral("resetPassword"));
    commands->addWidget(add);
    commands->addWidget(password);
    layout->addLayout(commands);

    auto* form = new QFormLayout;
    m_role = roleBox(this);
    captioned(form, T::roleCaption, m_role, QStringLiteral("role"));
    auto* roleButton = new QPushButton(T::changeRole, this);
    roleButton->setObjectName(QStringLiteral("changeRole"));
    form->addRow(nullptr, roleButton);
    m_lockMinutes = new QLineEdit(this);
    captioned(form, T::lockMinutesCaption, m_lockMinutes, QStringLiteral("lockMinutes"));
    auto* lockButton = new QPushButton(T::saveLockMinutes, this);
    lockButton->setObjectName(QStringLiteral("saveLockMinutes"));
    form->addRow(nullptr, lockButton);
    layout->addLayout(form);

    auto* close = new QPushButton(T::close, this);
    close->setObjectName(QStringLiteral("close"));
    layout->addWidget(close, 0, Qt::AlignCenter);

    connect(add, &QPushButton::clicked, this, &AccountsWindow::addAccount);
    connect(password, &QPushButton::clicked, this, &AccountsWindow::newPassword);
    connect(roleButton, &QPushButton::clicked, this, &AccountsWindow::changeRole);
    connect(lockButton, &QPushButton::clicked, this, &AccountsWindow::saveLockMinutes);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        const QString chosen = chosenAccount();
        const std::optional<Account> account = AccountStore::find(m_session.folder(), chosen);
        if (account)
            m_role->setCurrentIndex(m_role->findData(roleCode(account->role)));
    });
    Skins::applyCurrent(this, m_session.context());
    reload();
    m_lockMinutes->setText(QString::number(AccountStore::lockMinutes(m_session.folder())));
}

void AccountsWindow::reload()
{
    const QString chosen = chosenAccount();
    m_list->clear();
    for (const Account& account : AccountStore::accounts(m_session.folder()).value_or(QList<Account>())) {
        auto* item = new QListWidgetItem(T::signedInAs.arg(account.name, roleName(account.role)), m_list);
        item->setData(Qt::UserRole, account.name);
        if (account.name == chosen)
            m_list->setCurrentItem(item);
    }
}

QString AccountsWindow::chosenAccount() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void AccountsWindow::addAccount()
{
    AccountDialog dialog(m_session.context(), m_prompts, AccountDialog::Kind::NewAccount, {}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_session.onAccountChanged)
        m_session.onAccountChanged(T::accountAdded, dialog.storedName());
    reload();
    m_prompts.message(this, CommonTexts::attentionTitle, T::accountStored, Prompts::Icon::Information, true);
}

void AccountsWindow::newPassword()
{
    const QString chosen = chosenAccount();
    if (chosen.isEmpty()) {
        m_prompts.message(this, CommonTexts::attentionTitle, T::chooseAccount, Prompts::Icon::Information,
                          true);
        return;
    }
    AccountDialog dialog(m_session.context(), m_prompts, AccountDialog::Kind::NewPassword, chosen, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_session.onAccountChanged)
        m_session.onAccountChanged(T::passwordReset, chosen);
    m_prompts.message(this, CommonTexts::attentionTitle, T::passwordStored, Prompts::Icon::Information, true);
}

void AccountsWindow::changeRole()
{
    const QString chosen = chosenAccount();
    if (chosen.isEmpty()) {
        m_prompts.message(this, CommonTexts::attentionTitle, T::chooseAccount, Prompts::Icon::Information,
                          true);
        return;
    }
    const Role role = roleFromCode(m_role->currentData().toString()).value_or(Role::Reception);
    const AccountStore::Result stored = AccountStore::setRole(m_session.folder(), chosen, role);
    if (!stored.ok) {
        m_prompts.message(this, CommonTexts::warningTitle, stored.message, Prompts::Icon::Exclamation, true);
        return;
    }
    if (m_session.onAccountChanged)
        m_session.onAccountChanged(T::roleChanged(roleName(role)), chosen);
    // The signed-in administrator who gave up the role works on with the new one.
    if (chosen == m_session.userName()) {
        if (const std::optional<Account> account = AccountStore::find(m_session.folder(), chosen))
            m_session.signedIn(*account);
    }
    reload();
    m_prompts.message(this, CommonTexts::attentionTitle, T::roleStored, Prompts::Icon::Information, true);
}

void AccountsWindow::saveLockMinutes()
{
    const QString typed = withLatinDigits(m_lockMinutes->text()).trimmed();
    bool number = false;
    const int minutes = typed.toInt(&number);
    const AccountStore::Result stored = number ? AccountStore::setLockMinutes(m_session.folder(), minutes)
                                               : AccountStore::Result{false, T::lockMinutesInvalid};
    if (!stored.ok) {
        m_prompts.message(this, CommonTexts::warningTitle, stored.message, Prompts::Icon::Exclamation, true);
        return;
    }
    if (m_session.onAccountChanged)
        m_session.onAccountChanged(T::lockMinutesChanged(minutes), {});
    m_prompts.message(this, CommonTexts::attentionTitle, T::lockMinutesStored, Prompts::Icon::Information,
                      true);
}
