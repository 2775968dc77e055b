#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The texts of the updater program: its window and its downloader's reports.
namespace UpdaterTexts {

// The window.
inline const QString windowTitle = QStringLiteral("Downloading File ... ");
inline const QString addressCaption = QStringLiteral("Address File :");
inline const QString download = QStringLiteral("دانلود");
inline const QString& cancel = CommonTexts::cancel;
inline const QString& exit = CommonTexts::exitCaption;
inline const QString productLine = QStringLiteral("بروز رساني نرم افزار ولمورا");
inline const QString successTitle = QStringLiteral("Success");
inline const QString success = QStringLiteral("دانلود فايل با موفقيت به پايان رسيد ");
inline const QString& errorTitle = CommonTexts::errorTitle;
inline const QString packageNotStarted = QStringLiteral("فايل دانلود شده اجرا نشد:");

// The signature check of the downloaded package: the caption while it runs, why a package is
// refused, and what became of the refused file.
inline const QString checkingSignature = QStringLiteral("بررسي امضاي فايل دانلود شده ...");
inline const QString& refusedTitle = CommonTexts::warningTitle;
inline const QString signatureMissing = QStringLiteral("امضاي فايل بروز رساني از سرور دريافت نشد.");
inline const QString signatureMalformed = QStringLiteral("امضاي فايل بروز رساني خوانا نيست.");
inline const QString signatureByOtherKey = QStringLiteral("فايل بروز رساني با کليد ولمورا امضا نشده است.");
inline const QString signatureMismatch =
    QStringLiteral("فايل دانلود شده با امضاي آن نمي خواند و ممکن است در راه تغيير کرده باشد.");
inline const QString packageUnreadable = QStringLiteral("فايل دانلود شده خوانده نشد.");
inline const QString packageRemoved = QStringLiteral("فايل دانلود شده پاک شد و اجرا نمي شود.");
inline const QString packageNotRemoved = QStringLiteral("فايل دانلود شده پاک نشد؛ آن را اجرا نکنيد:");
inline QString packageRefused(const QString& reason, bool removed, const QString& file)
{
    return reason + u'\n' + (removed ? packageRemoved : packageNotRemoved + u'\n' + file);
}

// The downloader's status event and failure reports.
inline const QString gettingInformation = QStringLiteral("Getting file information");
inline const QString nothingToDownload = QStringLiteral("Nothing to download!");
inline const QString authorizationFailed = QStringLiteral("Authorization failed!");
inline QString notFound(const QString& url)
{
    return QStringLiteral("The file, \"") + url + QStringLiteral("\" was not found!");
}
inline const QString cannotConnect = QStringLiteral("Cannot establish connection.");
inline const QString unexpectedResponse = QStringLiteral("The server returned the following response:\r\r");
inline const QString nothingReceived = QStringLiteral("<nothing>");
inline const QString notEnoughSpace = QStringLiteral("There is not enough free space on disk for this file.");
inline const QString connectionReset = QStringLiteral("The connection with the server was reset.");
inline const QString wrongRange =
    QStringLiteral("سرور بخشي از فايل را فرستاد که از جاي درخواست شده شروع نمي شود.");
inline QString requestFailure(const QString& description)
{
    return QStringLiteral("Error: ") + description + QStringLiteral(" occurred.");
}
inline QString fileFailure(int number, const QString& description)
{
    return QStringLiteral("Cannot write file to disk.\r\rError ") + QString::number(number) +
           QStringLiteral(": ") + description;
}

} // namespace UpdaterTexts
