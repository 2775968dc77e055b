#pragma once

#include "common/CommonTexts.h"
#include "common/VendorLinks.h"

#include <QString>
#include <QStringList>
#include <QUrl>

// The Persian texts of the about window and the questionnaire introduction.
namespace InfoTexts {

inline const QString& exit = CommonTexts::exitCaption;

// The about window.
inline const QString aboutTitle = QStringLiteral("about");
inline const QString aboutFrame = QStringLiteral("درباره");
inline const QString productNameCaption = QStringLiteral("نام نرم افزار:");
inline const QString productFullName = QStringLiteral("ولمورا Velmora، سنجش نيازهاي پنجگانه");
inline const QString authorLine = QStringLiteral("دکتر آرين ولمري، روانشناس، مرکز مشاوره ولمورا");
// The contact lines name the same addresses as the main window's links.
inline QString hostOf(const QString& url)
{
    return QUrl(url).host();
}
inline const QString mailDomain = hostOf(VendorLinks::webSite).section(u'.', 1);
inline const QString messagingPhoneLine = QStringLiteral("تلگرام و پيامک: 09000000000");
inline const QString emailLine = QStringLiteral("پست الکترونيک: info@") + mailDomain;
inline const QString webSiteLine = QStringLiteral("وب سايت: ") + hostOf(VendorLinks::webSite);
inline const QString shopLine = QStringLiteral("فروشگاه: ") + hostOf(VendorLinks::shop);
// A left-to-right mark keeps the handle's "@" in front of it inside this right-to-left line.
inline const QString channelLine =
    QStringLiteral("کانال تلگرام: ") + QChar(0x200E) + VendorLinks::telegramHandle;

// About texts 1 to 8, in the order the scrolling labels show them.
inline const QStringList aboutTexts = {productNameCaption, productFullName, authorLine, messagingPhoneLine,
                                       emailLine,          webSiteLine,     shopLine,   channelLine};

// Assembled letter by letter in the credit box; it holds no ".", which the assembly turns into blanks.
inline const QString creditLine = QStringLiteral("ساخت گروه نرم افزاري ولمورا");
inline const QString productEmblemName = QStringLiteral("ولمورا");
inline const QString productEmblemSubtitle = QStringLiteral("سنجش نيازهاي پنجگانه");

// The questionnaire introduction.
inline const QString introductionTitle = QStringLiteral("معرفي پرسشنامه");
inline const QString questionnaireTitle = QStringLiteral("پرسشنامه سنجش نيازهاي پنجگانه");
inline const QString introductionParagraph = QStringLiteral(
    "اين پرسشنامه بر پايه نگاه مشاوره نياز محور ساخته شده است: هر رفتار انسان کوششي است براي برآوردن "
    "نيازهاي دروني او، و بسياري از دشواري هاي فردي، زناشويي و خانوادگي از ناهماهنگي ميان اين نيازها يا از "
    "راه هاي نامناسب براي برآوردن آنها سرچشمه مي گيرد. پرسشنامه را دکتر آرين ولمري، روانشناس باليني، در "
    "مرکز مشاوره ولمورا فراهم کرده است. پاسخ دهنده در سي و پنج عبارت، شدت پنج نياز را در خود درجه بندي "
    "مي کند و نمره هر نياز نشان مي دهد که آن نياز در زندگي او چه اندازه پررنگ است. شناختن اين الگو به "
    "مشاور و مراجع کمک مي کند تا خواسته ها را بهتر بفهمند و راه هاي سالم تري براي برآوردن آنها بيابند.");
inline const QString survivalNeed =
    QStringLiteral("نياز به بقا: ميزان احتياط در کارها، اجتناب از خطر و هوشياري نسبت به آن، اهميت مسائل "
                   "مالي، اهميت احساس ايمني و امنيت خاطر ميزان نياز جنسي");
inline const QString belongingNeed =
    QStringLiteral("احساس تعلق: عشق و محبت ورزي، نشان دادن احساس و عاطفه خود به ديگران، جستجوي صميميت، وقت و "
                   "انرژي گذاشتن براي ارتباط خانوادگي، ايجاد و نگهداري دوستي، عضويت در گروه");
inline const QString powerNeed = QStringLiteral(
    "قدرت و خودشکوفايي: دستيابي به هدف، پيشرفت، احساس کنترل داشتن بر اوضاع و شرايط، مهارت داشتن اعتماد به "
    "خود داشتن، احساس افتخار، نفوذ بر ديگران داشتن، حس رقابت، رهرو داشتن، الگو بودن و مورد پيروي قرار گرفتن");
inline const QString freedomNeed = QStringLiteral(
    "آزادي: محدود و مجبور نبودن، احساس آزادي در اقدام و تصميم گيري، مسافرت کردن، استقلال رأي و عمل داشتن، "
    "نظر و خواست خود را دنبال کردن، انتخاب هاي زياد داشتن، خودمختاري، خلاقيت، اظهار نظر بدون ترس و واهمه");
inline const QString funNeed = QStringLiteral(
    "تفريح: خنده، يادگيري، تنوع طلبي، پرداختن به تفريحات دلخواه، سرگرمي داشتن، بازي کردن، شوخ طبع بودن شادي");
inline const QStringList needParagraphs = {survivalNeed, belongingNeed, powerNeed, freedomNeed, funNeed};

} // namespace InfoTexts
