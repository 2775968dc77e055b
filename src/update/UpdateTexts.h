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
// %1 the module's file name.
inline const QString networkModuleMissing =
    QStringLiteral("بخش ارتباط با اينترنت برنامه (%1) پيدا نشد؛ برنامه را دوباره نصب کنيد");
inline const QString networkModuleOfOtherBuild =
    QStringLiteral("بخش ارتباط با اينترنت برنامه (%1) از نسخه ديگري از برنامه است و به کار گرفته نشد؛ برنامه "
                   "را دوباره نصب کنيد");
} // namespace UpdateTexts
