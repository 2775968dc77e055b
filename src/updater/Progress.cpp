#include "Progress.h"

#include "DownloadRules.h"
#include "FileDownloader.h"
#include "UpdaterTexts.h"
#include "common/CaptionLabel.h"
#include "common/Desktop.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "widgets/WindowSkin.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace T = UpdaterTexts;

namespace {
constexpr int kPercentPointSize = 24;
constexpr int kPercentIntervalMs = 1000;
} // namespace

Progress::Progress(const AppContext& context, const QString& packageUrl, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(T::windowTitle);
    setFixedSize(twipsSize(8400, 2900));
    move(twipsPoint(2475, 1620));

    m_downloader = new FileDownloader(this);
    m_downloader->setObjectName(QStringLiteral("FileDownloader"));

    m_address = new QLineEdit(packageUrl, this);
    m_address->setObjectName(QStringLiteral("Text"));
    m_address->setGeometry(twipsRect(240, 2040, 6600, 315));
    QLabel* addressLabel = addCaptionLabel(m_address, T::addressCaption, twipsRect(6960, 2040, 1200, 315));
    addressLabel->setObjectName(QStringLiteral("Label1"));
    m_address->hide();
    addressLabel->hide();

    auto* product = new QLabel(T::productLine, this);
    product->setObjectName(QStringLiteral("Label3"));
    product->setGeometry(twipsRect(240, 120, 7920, 480));
    product->setAlignment(Qt::AlignCenter);
    QFont productFont = product->font();
    productFont.setBold(true);
    product->setFont(productFont);

    const QString contacts[] = {VendorLinks::webSite,
                                QStringLiteral("Telegram: ") + VendorLinks::telegramHandle};
    for (int index = 0; index < 2; ++index) {
        auto* contact = new QLabel(contacts[index], this);
        contact->setObjectName(QStringLiteral("Label2_%1").arg(index));
        contact->setGeometry(twipsRect(240 + index * 3960, 600, 3960, 360));
        contact->setAlignment(Qt::AlignCenter);
        // Addresses read left to right inside the right-to-left window.
        contact->setLayoutDirection(Qt::LeftToRight);
    }

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setGeometry(twipsRect(1560, 1140, 6600, 420));
    m_bar->setAccessibleName(T::windowTitle.trimmed());

    m_percent = new QLabel(QStringLiteral("0"), this);
    m_percent->setObjectName(QStringLiteral("Label4"));
    m_percent->setGeometry(twipsRect(240, 1020, 1200, 660));
    m_percent->setAlignment(Qt::AlignCenter);
    QFont percentFont = m_percent->font();
    percentFont.setPointSize(kPercentPointSize);
    percentFont.setBold(true);
    m_percent->setFont(percentFont);

    m_download = new QPushButton(T::download, this);
    m_download->setObjectName(QStringLiteral("cmdUpdate"));
    m_download->setGeometry(twipsRect(4440, 1920, 1800, 435));
    auto* exitButton = new QPushButton(T::exit, this);
    exitButton->setObjectName(QStringLiteral("Command1"));
    exitButton->setGeometry(twipsRect(2160, 1920, 1800, 435));
    connect(m_download, &QPushButton::clicked, this, &Progress::downloadClicked);
    connect(exitButton, &QPushButton::clicked, this, &Progress::endUpdater);

    connect(m_downloader, &FileDownloader::DownloadProgress, this,
            [this](const QString& percent) { m_bar->setValue(percent.toInt()); });
    connect(m_downloader, &FileDownloader::DownloadErrors, this, &Progress::downloadFailed);
    connect(m_downloader, &FileDownloader::DowloadComplete, this, &Progress::downloadCompleted);

    m_percentTimer = new QTimer(this);
    m_percentTimer->setObjectName(QStringLiteral("Timer1"));
    m_percentTimer->setInterval(kPercentIntervalMs);
    connect(m_percentTimer, &QTimer::timeout, this,
            [this] { m_percent->setText(QString::number(m_bar->value())); });
    m_percentTimer->start();
    Skins::applyCurrent(this, m_context);
}

Progress::~Progress() = default;

void Progress::downloadClicked()
{
    if (m_download->text() == T::download) {
        // A click that arrives while a cancelled download is still unwinding starts nothing.
        if (m_downloader->isDownloading())
            return;
        m_download->setText(T::cancel);
        m_bar->setValue(0);
        const QString url = m_address->text();
        m_destination = m_context.dataFolder + u'/' + DownloadRules::GetFileName(url);
        m_downloader->DownloadFile(url, m_destination);
    } else {
        m_downloader->Cancel();
        backToIdle();
    }
}

void Progress::backToIdle()
{
    m_download->setText(T::download);
    m_bar->setValue(0);
}

void Progress::downloadFailed(const QString& text)
{
    m_context.prompts->message(this, T::errorTitle, text, Prompts::Icon::Critical);
    backToIdle();
    m_downloader->Cancel();
}

void Progress::downloadCompleted()
{
    // The percentage follows the bar only once a second: at the end it must not still read less.
    m_bar->setValue(100);
    m_percent->setText(QString::number(m_bar->value()));
    m_context.prompts->message(this, T::successTitle, T::success, Prompts::Icon::Information);
    backToIdle();
    startPackage();
    endUpdater();
}

void Progress::startPackage()
{
    // A program is run; anything else (an installer for another system, say) goes to the
    // desktop's handler for its kind of file.
    if (!QFileInfo(m_destination).isExecutable()) {
        m_context.desktop->openUrl(QUrl::fromLocalFile(m_destination));
        return;
    }
    if (!m_context.desktop->startProgram(m_destination))
        m_context.prompts->message(this, T::errorTitle, T::packageNotStarted + u'\n' + m_destination,
                                   Prompts::Icon::Critical);
}

void Progress::endUpdater()
{
    // A download in progress is dropped with its temporary file.
    m_downloader->Cancel();
    m_context.desktop->quit();
}

void Progress::closeEvent(QCloseEvent* event)
{
    m_downloader->Cancel();
    QWidget::closeEvent(event);
}
