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
