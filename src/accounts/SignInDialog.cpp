#include "SignInDialog.h"

#include "AccountSession.h"
#include "AccountTexts.h"
#include "PasswordHash.h"
#include "widgets/WindowSkin.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace T = AccountTexts;

namespace {

QString headingFor(SignInDialog::Purpose purpose)
{
    switch (purpose) {
    case SignInDialog::Purpose::SignIn:
        return T::signInHeading;
    case SignInDialog::Purpose::Unlock:
        return T::unlockHeading;
    case SignInDialog::Purpose::ConfirmLeaving:
        return T::confirmHeading;
    case SignInDialog::Purpose::InterruptedTest:
        break;
    }
    return T::interruptedTestHeading;
}

} // namespace

SignInDialog::SignInDialog(AccountSession& session, Purpose purpose, QWidget* parent)
    : QDialog(parent), m_session(session), m_purpose(purpose)
{
    setObjectName(QStringLiteral("SignIn"));
    setWindowTitle(T::signInTitle);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(480, 250);

    auto* heading = new QLabel(headingFor(purpose), this);
    heading->setObjectName(QStringLiteral("SkinLabel1"));
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignCenter);

    m_userName = new QLineEdit(this);
    m_userName->setObjectName(QStringLiteral("userName"));
    m_userName->setAccessibleName(T::userNameCaption);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setAccessibleName(T::passwordCaption);
    auto* form = new QFormLayout;
    for (const auto& [caption, field] :
         {std::pair{T::userNameCaption, m_userName}, std::pair{T::passwordCaption, m_password}}) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label_") + field->objectName());
        label->setBuddy(field);
        form->addRow(label, field);
    }

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setMinimumHeight(40);

    m_signIn = new QPushButton(T::signIn, this);
    m_signIn->setObjectName(QStringLiteral("signIn"));
    m_signIn->setDefault(true);
    m_cancel = new QPushButton(
        purpose == Purpose::SignIn || purpose == Purpose::InterruptedTest ? T::quit : T::cancel, this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setAutoDefault(false);
    // A locked program opens only with a password; it is never left by a cancel.
    m_cancel->setVisible(purpose != Purpose::Unlock);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_signIn);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    if (purpose == Purpose::Unlock)
        m_userName->setText(m_session.userName());

    m_countdown = new QTimer(this);
    m_countdown->setInterval(1000);
    connect(m_countdown, &QTimer::timeout, this, &SignInDialog::showWait);
    connect(m_signIn, &QPushButton::clicked, this, &SignInDialog::submit);
    connect(m_cancel, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(m_userName, &QLineEdit::returnPressed, this, &SignInDialog::submit);
    connect(m_password, &QLineEdit::returnPressed, this, &SignInDialog::submit);

    Skins::applyCurrent(this, m_session.context());
    (m_userName->text().isEmpty() ? m_userName : m_password)->setFocus();
    showWait();
}

SignInDialog::~SignInDialog() = default;

bool SignInDialog::run(AccountSession& session, Purpose purpose, QWidget* parent)
{
    SignInDialog dialog(session, purpose, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SignInDialog::reject()
{
    // Esc: only where a cancel is offered.
    if (m_purpose != Purpose::Unlock)
        QDialog::reject();
}

void SignInDialog::closeEvent(QCloseEvent* event)
{
    if (m_purpose == Purpose::Unlock) {
        event->ignore();
        return;
    }
    m_check.supersede();
    QDialog::closeEvent(event);
}

void SignInDialog::keyPressEvent(QKeyEvent* event)
{
    if (m_purpose == Purpose::Unlock && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool SignInDialog::fitsPurpose(const Account& account) const
{
    switch (m_purpose) {
    case Purpose::SignIn:
        return true;
    case Purpose::Unlock:
        return account.name == m_session.userName() || account.role == Role::Administrator;
    case Purpose::ConfirmLeaving:
    case Purpose::InterruptedTest:
        break;
    }
    return roleAllows(account.role, Command::LeaveLockedTest);
}

void SignInDialog::showWait()
{
    const int seconds = m_session.throttle().secondsToWait();
    if (seconds <= 0) {
        m_countdown->stop();
        m_signIn->setEnabled(true);
        if (m_status->property("waiting").toBool()) {
            m_status->clear();
            m_status->setProperty("waiting", false);
        }
        return;
    }
    m_signIn->setEnabled(false);
    m_status->setText(T::waitSeconds(seconds));
    m_status->setProperty("waiting", true);
    if (!m_countdown->isActive())
        m_countdown->start();
}

void SignInDialog::submit()
{
    if (m_check.isWaiting() || m_session.throttle().secondsToWait() > 0) {
        showWait();
        return;
    }
    const QString typedName = m_userName->text().trimmed();
    if (typedName.isEmpty()) {
        m_status->setText(T::enterUserName);
        m_userName->setFocus();
        return;
    }
    const std::optional<Account> account = AccountStore::find(m_session.folder(), typedName);
    const QString hash = account ? account->hash : QString();
    const QString password = m_password->text();
    m_signIn->setEnabled(false);
    m_status->setText(T::checking);
    m_check.start(
        [hash, password] {
            // An unknown name costs as long as a known one, so that the time does not tell names.
            if (hash.isEmpty()) {
                (void)PasswordHash::make(password);
                return false;
            }
            return PasswordHash::matches(hash, password);
        },
        [this, typedName, account](bool right) { checked(typedName, account, right); });
}

void SignInDialog::checked(const QString& typedName, const std::optional<Account>& account, bool right)
{
    m_signIn->setEnabled(true);
    if (!right || !account) {
        m_session.throttle().failed();
        if (m_session.onSignInFailed)
            m_session.onSignInFailed(typedName);
        m_password->clear();
        m_password->setFocus();
        m_status->setText(T::wrongPassword);
        showWait();
        return;
    }
    if (!fitsPurpose(*account)) {
        m_password->clear();
        m_status->setText(m_purpose == Purpose::Unlock ? T::notThisUser : T::notClinician);
        return;
    }
    m_password->clear();
    m_account = account;
    if (m_purpose == Purpose::ConfirmLeaving)
        m_session.throttle().succeeded();
    else
        m_session.signedIn(*account);
    if (m_session.onSignedIn)
        m_session.onSignedIn(account->name);
    accept();
}
