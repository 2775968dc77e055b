#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The texts of the clinic database window, where a clinic points its workstations at one shared
// PostgreSQL server, and of the start-up on that server.
namespace ClinicServerTexts {

inline const QString title = QStringLiteral("پايگاه داده کلينيک");
inline const QString introduction =
    QStringLiteral("براي اينکه چند کامپيوتر کلينيک با يک پايگاه داده مشترک کار کنند، مشخصات سرور "
                   "PostgreSQL کلينيک را وارد کنيد.");

// Captions of the fields.
inline const QString hostCaption = QStringLiteral("نام يا نشاني سرور:");
inline const QString portCaption = QStringLiteral("شماره پورت:");
inline const QString databaseCaption = QStringLiteral("نام پايگاه داده:");
inline const QString userCaption = QStringLiteral("نام کاربر:");
inline const QString passwordCaption = QStringLiteral("رمز عبور:");
inline const QString passwordNote =
    QStringLiteral("رمز عبور در Server.ini ذخيره نمي شود و فقط در همين اجراي برنامه به کار مي رود. "
                   "اگر خالي بماند، رمز ذخيره شده در فايل رمزهاي PostgreSQL کاربر خوانده مي شود:");
// The file, on a line of its own and marked left to right: a name that starts with a dot comes out
// scrambled inside a right-to-left sentence.
inline const QString pgpassFile = QStringLiteral("\u200e~/.pgpass");
inline const QString requireEncryption =
    QStringLiteral("فقط با اتصال رمزنگاري شده (SSL) و پس از بررسي هويت سرور وصل شود");
inline const QString certificateAuthorityCaption = QStringLiteral("فايل گواهي مرجع (CA) سرور:");
inline const QString certificateAuthorityNote =
    QStringLiteral("هويت سرور با اين گواهي بررسي مي شود. اگر خالي بماند، گواهي هاي مورد اعتماد سيستم به کار "
                   "مي رود.");
inline const QString chooseCertificateAuthority = QStringLiteral("انتخاب فايل...");
inline const QString certificateAuthorityDialog = QStringLiteral("انتخاب فايل گواهي مرجع سرور");
inline const QString certificateAuthorityFilter =
    QStringLiteral("گواهي (*.crt *.pem *.cer);;همه فايل ها (*)");

// What protects a connection to the server: the one in use, or the one just tried.
inline const QString inUseUnencrypted =
    QStringLiteral("اتصال فعلي به سرور رمزنگاري نشده است: اطلاعات آزمودني ها بدون رمز از شبکه مي گذرد.");
inline const QString inUseUnverified =
    QStringLiteral("اتصال فعلي به سرور رمزنگاري شده است، اما هويت سرور بررسي نشده است.");
inline const QString inUseVerified =
    QStringLiteral("اتصال فعلي به سرور رمزنگاري شده است و هويت سرور با گواهي آن بررسي شده است.");
inline const QString inUseUnknown =
    QStringLiteral("سرور اکنون پاسخ نمي دهد؛ معلوم نيست که اتصال به آن رمزنگاري شده است يا نه.");
inline const QString testedUnencrypted = QStringLiteral("اين اتصال رمزنگاري نشده است.");
inline const QString testedUnverified =
    QStringLiteral("اين اتصال رمزنگاري شده است، اما هويت سرور بررسي نشده است.");
inline const QString testedVerified =
    QStringLiteral("اين اتصال رمزنگاري شده است و هويت سرور با گواهي آن بررسي شده است.");

// Commands.
inline const QString testConnection = QStringLiteral("آزمايش اتصال");
inline const QString copyToServer = QStringLiteral("کپي اطلاعات اين کامپيوتر به سرور");
inline const QString useServer = QStringLiteral("استفاده از سرور");
inline const QString useFolderFiles = QStringLiteral("بازگشت به فايل هاي اين کامپيوتر");
inline const QString& close = CommonTexts::exitCaption;

// Fields that must be filled in before the server is asked.
inline const QString hostMissing = QStringLiteral("نام يا نشاني سرور را وارد کنيد.");
inline const QString portInvalid = QStringLiteral("شماره پورت بايد عددي از 1 تا 65535 باشد.");
inline const QString databaseMissing = QStringLiteral("نام پايگاه داده را وارد کنيد.");
inline const QString userMissing = QStringLiteral("نام کاربر را وارد کنيد.");
inline const QString certificateAuthoritySemicolon =
    QStringLiteral("نام فايل گواهي نمي تواند نويسه «;» داشته باشد؛ فايل را به پوشه ديگري کپي کنيد.");

// Questions and outcomes.
inline const QString confirmCopy =
    QStringLiteral("همه آزمودني ها، پاسخ ها، متن سوالات و مشخصات و آرم کلينيک از فايل هاي اين کامپيوتر "
                   "به سرور کپي شود؟\nفايل هاي اين کامپيوتر تغيير نمي کنند.");
inline const QString connectionWorks = QStringLiteral("اتصال به سرور برقرار شد.");
inline const QString copied = QStringLiteral("اطلاعات اين کامپيوتر به سرور کپي شد.");
inline const QString usingServer =
    QStringLiteral("از اين پس برنامه با سرور کلينيک کار مي کند. اين تنظيم ذخيره شد و در اجراهاي بعدي "
                   "برنامه هم به کار مي رود.");
inline const QString usingFolderFiles =
    QStringLiteral("از اين پس برنامه با فايل هاي همين کامپيوتر کار مي کند.");
// Said after Server.ini could not be written, so that no one believes a choice was kept when it was not.
inline const QString stillOnFolderFiles =
    QStringLiteral("برنامه همچنان با فايل هاي همين کامپيوتر کار مي کند.");
inline const QString stillOnServer = QStringLiteral("برنامه هنوز با سرور کار مي کند.");
inline const QString serverAgainNextStart =
    QStringLiteral("برنامه در اين اجرا با فايل هاي همين کامپيوتر کار مي کند، اما در اجراي بعدي دوباره به "
                   "سرور وصل مي شود.");

// Start-up on the server.
inline const QString askPasswordPrompt = QStringLiteral("رمز عبور کاربر «%1» براي سرور «%2»:");
inline const QString passwordNotGiven = QStringLiteral("رمز عبور وارد نشد.");
inline const QString chooseAfterFailure =
    QStringLiteral("برنامه نتوانست با سرور کلينيک کار کند.\n\n%1\n\n"
                   "آيا مي خواهيد برنامه در اين اجرا با فايل هاي همين کامپيوتر کار کند؟\n"
                   "آزمودني ها و پاسخ هايي که در اين اجرا ثبت کنيد فقط روي همين کامپيوتر مي مانند و به "
                   "سرور کلينيک نمي روند؛ کامپيوترهاي ديگر کلينيک آنها را نمي بينند.\n"
                   "(با انتخاب «خير» برنامه بسته مي شود.)");

} // namespace ClinicServerTexts
