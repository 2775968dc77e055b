#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the main window and its panels.
namespace MainWindowTexts {

// Command bar captions.
inline const QString registerSubject = QStringLiteral("ثبت نام آزمودني");
inline const QString runTest = QStringLiteral("اجراي تست");
inline const QString scoring = QStringLiteral("کليد گذاري");
inline const QString showSubjectCode = QStringLiteral("نمايش کد آزمودني");
inline const QString calculator = QStringLiteral("ماشين حساب");
inline const QString& exit = CommonTexts::exitCaption;
inline const QString introduction = QStringLiteral("معرفي پرسشنامه");
inline const QString settings = QStringLiteral("تنظيمات");
inline const QString aboutUs = QStringLiteral("درباره ما");
inline const QString update = QStringLiteral("بروز رساني");
inline const QString answerSheet = QStringLiteral("پاسخنامه");

// Hints shown while the mouse is over a command.
inline const QString registerHint = QStringLiteral(" شما بايد هر آزمودني را ابتدا ثبت نام کرده و سپس روي "
                                                   "دکمه اجراي تست کليک کرده و کد آزمودني را وارد کنيد");
inline const QString runTestHint =
    QStringLiteral(" جهت جواب دادن به سؤالها روي اين دکمه کليک کنيد و کد آزمودني مورد نظر را وارد کنيد ");
inline const QString scoringHint = QStringLiteral(" جهت کليد گذاري روي اين دکمه کليک مي کنيد");
inline const QString showCodeHint = QStringLiteral(
    " درصورتيکه کد آزمودني را فراموش کرده ايد با کليک بر روي  اين قسمت مي توانيد آن را بدست بياوريد");
inline const QString settingsHint = QStringLiteral(
    "با کليک بر روي اين دکمه شمامي توانيد:1- تم برنامه را عوض کنيد 2- نام و آدرس کلينيک را وارد کنيد");

// Fixed labels and links.
inline const QString versionCaption = QStringLiteral("ورژن نرم افزار شما");
inline const QString telegramInvitation =
    QStringLiteral("جهت اطلاع از بروزرساني نرم افزارها، در کانال تلگرام ما عضو شويد");
inline const QString bannerHint = QStringLiteral("جهت ورود به سايت کليک کنيد");
inline const QString help = QStringLiteral("Help");
inline const QString helpHint = QStringLiteral("براي مشاهده اين قسمت بايد به اينترنت کانکت شويد");
inline const QString joinChannel = QStringLiteral("عضويت در کانال");
inline const QString downloadList = QStringLiteral("دانلود ليست نرم افزار ");

// Start-up.
inline const QString alreadyRunning = QStringLiteral("برنامه در حال اجراست");
inline const QString alreadyRunningTitle = QStringLiteral("Warnnig");

// For the whole of a session in which the clinic server chosen in Server.ini could not be used
// and the program works on this computer's files instead: in the window and in its title.
inline const QString folderFilesInsteadOfServer =
    QStringLiteral("برنامه در اين اجرا با فايل هاي همين کامپيوتر کار مي کند، نه با سرور کلينيک. "
                   "آنچه ثبت مي کنيد فقط روي همين کامپيوتر مي ماند.");
inline const QString folderFilesInsteadOfServerShort =
    QStringLiteral("اين اجرا با فايل هاي همين کامپيوتر است، نه با سرور کلينيک");
inline const QString folderFilesInsteadOfServerTitle =
    QStringLiteral("Velmora - فايل هاي همين کامپيوتر، نه سرور کلينيک");
// The run-test code prompt.
inline const QString enterCodeTitle = QStringLiteral("Enter Code ");
inline const QString enterCodePrompt = QStringLiteral(" Plese Insert Code ");

// Where sign-in is on.
inline const QString lockCommand = QStringLiteral("قفل برنامه");
inline const QString signedInAs = QStringLiteral("کاربر واردشده: %1");

} // namespace MainWindowTexts
