#pragma once

#include <QString>

// The Persian texts of sign-in, the accounts and the lock.
namespace AccountTexts {

// The sign-in window.
inline const QString signInTitle = QStringLiteral("ورود به برنامه");
inline const QString signInHeading = QStringLiteral(
    "برای دیدن پرونده‌ها نام کاربری و رمز عبور خود را وارد "
    "کنید");
inline const QString unlockHeading =
    QStringLiteral("برنامه قفل شده است. همان کاربر یا یک مدیر دوباره وارد شود؛ آنچه نوشته شده بود "
                   "می‌ماند");
inline const QString confirmHeading =
    QStringLiteral("پایان دادن به آزمون پیش از آخرین پرسش: رمز عبور یک درمانگر یا مدیر");
inline const QString interruptedTestHeading =
    QStringLiteral("آزمون قفل‌شده‌ای نیمه‌کاره ماند. یک "
                   "درمانگر یا مدیر وارد شود");
inline const QString userNameCaption = QStringLiteral("نام کاربری:");
inline const QString passwordCaption = QStringLiteral("رمز عبور:");
inline const QString repeatPasswordCaption = QStringLiteral("تکرار رمز عبور:");
inline const QString roleCaption = QStringLiteral("نقش:");
inline const QString signIn = QStringLiteral("ورود");
inline const QString cancel = QStringLiteral("انصراف");
inline const QString quit = QStringLiteral("خروج از برنامه");
inline const QString checking = QStringLiteral("در حال بررسی رمز عبور…");
inline const QString wrongPassword = QStringLiteral("نام کاربری یا رمز عبور درست نیست");
inline const QString enterUserName = QStringLiteral("نام کاربری را وارد کنید");
inline const QString notThisUser = QStringLiteral(
    "فقط همان کاربر یا یک مدیر می‌تواند قفل را باز کند");
inline const QString notClinician =
    QStringLiteral("فقط درمانگر یا مدیر می‌تواند آزمون را پایان دهد");
inline QString waitSeconds(int seconds)
{
    return QStringLiteral("چند بار پیاپی نادرست وارد شد. %1 ثانیه دیگر دوباره امتحان کنید").arg(seconds);
}
inline const QString notAllowed = QStringLiteral("این کار برای نقش شما مجاز نیست");
inline const QString accountsUnreadable =
    QStringLiteral("حساب‌های کاربران خوانده نشد؛ برنامه بدون ورود "
                   "پرونده‌ای نشان نمی‌دهد");

// Roles.
inline const QString administrator = QStringLiteral("مدیر");
inline const QString clinician = QStringLiteral("درمانگر");
inline const QString reception = QStringLiteral("پذیرش");

// The accounts window.
// What the audit trail says of a change of the accounts.
inline const QString firstAdministratorMade = QStringLiteral("ورود روشن شد؛ نخستین مدیر");
inline const QString accountAdded = QStringLiteral("کاربر تازه");
inline const QString passwordReset = QStringLiteral("رمز عبور تازه");
inline QString roleChanged(const QString& role)
{
    return QStringLiteral("نقش تازه %1").arg(role);
}
inline QString lockMinutesChanged(int minutes)
{
    return QStringLiteral("قفل پس از %1 دقیقه").arg(minutes);
}
inline const QString accountsTitle = QStringLiteral("حساب‌های کاربران و ورود");
inline const QString firstAdministratorTitle = QStringLiteral("روشن کردن ورود: نخستین مدیر");
inline const QString firstAdministratorHeading =
    QStringLiteral("از این پس برنامه پیش از نشان دادن هر پرونده نام کاربری و رمز عبور "
                   "می‌خواهد. "
                   "نخستین "
                   "حساب، حساب مدیر است");
inline const QString newAccountTitle = QStringLiteral("حساب تازه");
inline const QString resetPasswordTitle = QStringLiteral("رمز عبور تازه");
inline const QString accountsList = QStringLiteral("کاربران:");
inline const QString addAccount = QStringLiteral("افزودن کاربر");
inline const QString changeRole = QStringLiteral("تغییر نقش");
inline const QString resetPassword = QStringLiteral("رمز عبور تازه");
inline const QString lockMinutesCaption =
    QStringLiteral("قفل پس از چند دقیقه بی‌کاری:");
inline const QString saveLockMinutes = QStringLiteral("ثبت زمان قفل");
inline const QString close = QStringLiteral("بستن");
inline const QString save = QStringLiteral("ثبت");
inline const QString passwordsDiffer = QStringLiteral("دو رمز عبور یکسان نیستند");
inline const QString passwordTooShort =
    QStringLiteral("رمز عبور دست‌کم ۸ نویسه باشد");
inline const QString userNameInvalid = QStringLiteral(
    "نام کاربری خالی است یا نویسه‌ای دارد که نگه داشته "
    "نمی‌شود");
inline const QString userNameTaken =
    QStringLiteral("این نام کاربری پیش‌تر ثبت شده است");
inline const QString noSuchUser = QStringLiteral("این کاربر پیدا نشد");
inline const QString lastAdministrator = QStringLiteral("دست‌کم یک مدیر باید بماند");
inline const QString accountNotStored = QStringLiteral("حساب ثبت نشد");
inline const QString accountStored = QStringLiteral("حساب ثبت شد");
inline const QString roleStored = QStringLiteral("نقش ثبت شد");
inline const QString passwordStored = QStringLiteral("رمز عبور تازه ثبت شد");
inline const QString lockMinutesStored = QStringLiteral("زمان قفل ثبت شد");
inline const QString lockMinutesInvalid = QStringLiteral("زمان قفل عددی از ۱ تا ۲۴۰ دقیقه است");
inline const QString hashing =
    QStringLiteral("در حال ساختن درهم‌سازی رمز عبور…");
inline const QString signInTurnedOn = QStringLiteral("ورود روشن شد. از این پس برنامه با نام کاربری و رمز "
                                                     "عبور باز می‌شود");
inline const QString chooseAccount = QStringLiteral("نخست کاربری را در فهرست برگزینید");

// The accounts list.
inline const QString signedInAs = QStringLiteral("کاربر: %1 (%2)");

// The locked client test.
inline const QString lockedTestQuestion =
    QStringLiteral("آزمون به صورت قفل‌شده اجرا شود؟ (تمام صفحه؛ "
                   "مراجع پیش از پایان بدون رمز درمانگر "
                   "نمی‌تواند خارج شود)");
inline const QString lockedTestMarkNotStored =
    QStringLiteral("نشانه آزمون قفل‌شده ثبت نشد؛ آزمون "
                   "قفل‌شده آغاز نمی‌شود");

// The recovery from the command line.
inline const QString recoveryUsage = QStringLiteral(
    "Velmora --new-administrator: یک حساب مدیر تازه در پرونده‌های داده این "
    "رایانه "
    "می‌سازد "
    "(پرونده‌ها باید نوشتنی باشند). برنامه بسته باشد.");
inline const QString recoveryUserName = QStringLiteral("نام کاربری مدیر تازه: ");
inline const QString recoveryPassword = QStringLiteral("رمز عبور: ");
inline const QString recoveryRepeat = QStringLiteral("تکرار رمز عبور: ");
inline const QString recoveryDone = QStringLiteral("حساب مدیر تازه ثبت شد.");
inline const QString recoveryFilesUnusable = QStringLiteral("پرونده‌های داده باز نشد: ");

} // namespace AccountTexts
