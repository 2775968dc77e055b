#include "FrmUpdate.h"

#include "UpdateTexts.h"
#include "VersionCheck.h"
#include "common/AppVersion.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "widgets/WindowSkin.h"

#include <QApplication>
#include <QLabel>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>

namespace T = UpdateTexts;

namespace {

// The version file's text; empty for a failed transfer or any answer other than a success, so
// that an error page is never read as a version number.
QString versionTextOf(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299)
        return {};
    return QString::fromUtf8(reply->readAll());
}

} // namespace

FrmUpdate::FrmUpdate(const AppContext& context, const QUrl& versionFile, QWidget* parent)
    : QDialog(parent), m_context(context), m_versionFile(versionFile)
{
    setObjectName(QStringLiteral("FrmUpdate"));
    setWindowTitle(titleText());
    setFixedSize(twipsSize(6240, 3120));
    move(twipsPoint(4085, 2745));

    m_title = new QLabel(titleText(), this);
    m_title->setObjectName(QStringLiteral("Label1"));
    m_title->setGeometry(twipsRect(240, 180, 5760, 480));
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 3);
    m_title->setFont(titleFont);

    auto* instructions = new QLabel(T::instructions, this);
    instructions->setObjectName(QStringLiteral("Label2"));
    instructions->setGeometry(twipsRect(240, 780, 5760, 1080));
    instructions->setAlignment(Qt::AlignCenter);
    instructions->setWordWrap(true);

    m_check = new QPushButton(T::check, this);
    m_check->setObjectName(QStringLiteral("Command1"));
    m_check->setGeometry(twipsRect(3240, 2160, 2400, 495));
    auto* close = new QPushButton(T::exit, this);
    close->setObjectName(QStringLiteral("Command2"));
    close->setGeometry(twipsRect(600, 2160, 2400, 495));
    // Enter does not start a check by accident; Esc closes the window as the cancel button.
    m_check->setAutoDefault(false);
    close->setAutoDefault(false);
    connect(m_check, &QPushButton::clicked, this, &FrmUpdate::startCheck);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    Skins::applyCurrent(this, m_context);
}

FrmUpdate::~FrmUpdate()
{
    endBusy();
}

QString FrmUpdate::titleText() const
{
    return AppVersion::versionLine();
}

void FrmUpdate::startCheck()
{
    if (m_reply)
        return;
    m_check->setEnabled(false);
    setWindowTitle(T::pleaseWait);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busyPointer = true;

    QNetworkRequest request(m_versionFile);
    request.setTransferTimeout(m_timeoutMs);
    // A cached answer would hide a release published since the last check.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::finished, this, &FrmUpdate::checkFinished);
}

void FrmUpdate::checkFinished()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    // The answer is in: the pointer is normal again before any message waits for a click.
    endBusy();
    const QString versionText = versionTextOf(reply);
    const long long local = VersionCheck::localVersionNumber(AppVersion::kMajor, AppVersion::kMinor);

    if (VersionCheck::isNewerVersion(versionText, local)) {
        // Beside this executable, wherever the data lives.
        const QString updater = VersionCheck::updaterPath(QCoreApplication::applicationDirPath());
        if (m_context.desktop->startProgram(updater)) {
            accept();
            return;
        }
        // Ending the program without an updater running would leave the user with neither.
        m_context.prompts->message(this, CommonTexts::warningTitle, T::updaterNotStarted + u'\n' + updater,
                                   Prompts::Icon::Exclamation, true);
    } else {
        m_context.prompts->message(this, CommonTexts::applicationTitle, T::noNewerVersion,
                                   Prompts::Icon::Information);
    }
    setWindowTitle(titleText());
    m_check->setEnabled(true);
}

void FrmUpdate::endBusy()
{
    if (!m_busyPointer)
        return;
    m_busyPointer = false;
    QApplication::restoreOverrideCursor();
}

void FrmUpdate::done(int result)
{
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        setWindowTitle(titleText());
        m_check->setEnabled(true);
    }
    endBusy();
    QDialog::done(result);
}
