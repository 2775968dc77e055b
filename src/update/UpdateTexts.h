#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The texts of the update check window.
namespace UpdateTexts {
inline const QString instructions = QStringLiteral(
    "جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کنيد سپس روي دکمه آپديت کليک کنيد");
inline const QString check = QStringLiteral("بررسي آپديت جديد");
inline const QString& exit = CommonTexts::exitCaption;
inline const QString pleaseWait = QStringLiteral("Please wait...");
inline const QString noNewerVersion =
    QStringLiteral("شما آخرين ورژن نرم افزار را داريد و يا اينکه ارتباط شما با اينترنت برقرار نمي باشد ");
inline const QString updaterNotStarted = QStringLiteral("برنامه بروز رساني اجرا نشد:");
} // namespace UpdateTexts
