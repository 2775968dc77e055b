#include "FrmUpdate.h"

#include "UpdateTexts.h"
#include "VersionCheck.h"
#include "common/AppVersion.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "release/ReleaseSignature.h"
#include "release/SmallFetch.h"
#include "widgets/WindowSkin.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace T = UpdateTexts;

namespace {

// The release key's text is fixed; one that does not read as a key vouches for nothing.
bool signedByReleaseKey(const QByteArray& data, const QByteArray& signature, const QString& releaseKey)
{
    const std::optional<ReleaseSignature::PublicKey> key =
        ReleaseSignature::parsePublicKey(releaseKey.toLatin1());
    return key && ReleaseSignature::verify(data, signature, *key) == ReleaseSignature::Verdict::Valid;
}

} // namespace

FrmUpdate::FrmUpdate(const AppContext& context, const QUrl& versionFile, const QString& releaseKey,
                     QWidget* parent)
    : QDialog(parent), m_context(context), m_versionFile(versionFile), m_releaseKey(releaseKey),
      m_fetch(NetworkModule::makeFetch(this, &m_moduleProblem))
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

bool FrmUpdate::isChecking() const
{
    return m_fetch && m_fetch->isRunning();
}

void FrmUpdate::startCheck()
{
    if (isChecking())
        return;
    if (!m_fetch) {
        const QString& why = m_moduleProblem == NetworkModule::Problem::OtherBuild
                                 ? T::networkModuleOfOtherBuild
                                 : T::networkModuleMissing;
        m_context.prompts->message(this, CommonTexts::warningTitle, why.arg(NetworkModule::fileName),
                                   Prompts::Icon::Exclamation, true);
        return;
    }
    m_check->setEnabled(false);
    setWindowTitle(T::pleaseWait);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busyPointer = true;
    m_fetch->start(m_versionFile, VersionCheck::kMaxVersionFileSize, m_timeoutMs,
                   [this](SmallFetch::Outcome outcome, const QByteArray& body) {
                       if (outcome == SmallFetch::Outcome::Received)
                           versionArrived(body);
                       else
                           checkFinished({});
                   });
}

void FrmUpdate::versionArrived(const QByteArray& versionFile)
{
    QUrl signatureFile = m_versionFile;
    signatureFile.setPath(m_versionFile.path() + ReleaseSignature::signatureSuffix);
    m_fetch->start(signatureFile, ReleaseSignature::kMaxSignatureFileSize, m_timeoutMs,
                   [this, versionFile](SmallFetch::Outcome outcome, const QByteArray& body) {
                       if (outcome == SmallFetch::Outcome::Received)
                           signatureArrived(versionFile, body);
                       else
                           checkFinished({});
                   });
}

void FrmUpdate::signatureArrived(const QByteArray& versionFile, const QByteArray& signature)
{
    // Whoever answers for the server could name any version: unsigned, it is no answer at all.
    checkFinished(signedByReleaseKey(versionFile, signature, m_releaseKey) ? QString::fromUtf8(versionFile)
                                                                           : QString());
}

void FrmUpdate::checkFinished(const QString& versionText)
{
    // The answer is in: the pointer is normal again before any message waits for a click.
    endBusy();
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
    if (isChecking()) {
        m_fetch->abort();
        setWindowTitle(titleText());
        m_check->setEnabled(true);
    }
    endBusy();
    QDialog::done(result);
}
