#pragma once

#include "common/CommonTexts.h"

#include <QString>

namespace DatastoreTexts {
// Shown when a database file exists but cannot be read; the file is left as it is.
inline QString unreadableDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» قابل خواندن نيست و برنامه نمي تواند با آن کار کند.\n"
                          "اين فايل تغيير داده نشد. براي بازگرداندن اطلاعات از نسخه پشتيبان استفاده کنيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Shown when a database file has damaged pages; the file is left as it is.
inline QString damagedDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» آسيب ديده است و برنامه نمي تواند با آن کار کند.\n"
                          "اين فايل تغيير داده نشد. لطفا آن را از آخرين نسخه پشتيبان بازگردانيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Shown when another program holds a database file locked; nothing is wrong with the file.
inline QString busyDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» در حال استفاده برنامه ديگري است.\n"
                          "اين فايل سالم است و تغيير داده نشد. لطفا برنامه ديگر را ببنديد و دوباره برنامه را "
                          "اجرا کنيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Server.ini, the clinic server settings of the data folder.
inline QString serverSettingsNotWritten(const QString& reason)
{
    return QStringLiteral("تنظيمات سرور در فايل Server.ini ذخيره نشد.\n%1").arg(reason);
}
inline const QString serverSettingsLineBreak =
    QStringLiteral("نام سرور، نام پايگاه داده و نام کاربر نمي توانند چند خطي باشند.");

// Shown when the clinic's database server cannot be reached in the middle of work: what was being
// saved is not stored.
inline const QString serverConnectionLost =
    QStringLiteral("ارتباط با سرور اطلاعات درمانگاه قطع شده است و اطلاعات ذخيره نشد.\n"
                   "لطفا روشن بودن سرور و اتصال شبکه را بررسي کنيد و دوباره تلاش کنيد.");

// What the clinic database window hears of the server.
inline QString serverUnreachable(const QString& detail)
{
    return QStringLiteral("اتصال به سرور اطلاعات درمانگاه برقرار نشد.\n%1").arg(detail);
}
inline QString serverTablesFailed(const QString& detail)
{
    return QStringLiteral("جدول هاي اطلاعات روي سرور ساخته يا خوانده نشد.\n%1").arg(detail);
}
inline const QString serverConnectionWorks = QStringLiteral("اتصال به سرور اطلاعات درمانگاه برقرار است.");
inline const QString serverAlreadyHoldsSubjects =
    QStringLiteral("روي سرور از قبل اطلاعات آزمودني وجود دارد؛ براي اينکه اطلاعاتي از دست نرود، اطلاعات اين "
                   "کامپيوتر روي آن کپي نشد.");
inline QString copyToServerFailed(const QString& detail)
{
    return QStringLiteral("کپي اطلاعات اين کامپيوتر روي سرور انجام نشد و چيزي روي سرور تغيير نکرد.\n%1")
        .arg(detail);
}
inline const QString copyToServerDone = QStringLiteral("اطلاعات اين کامپيوتر روي سرور کپي شد.");
// How an administration's answers were entered, for the scoring window, the print and the export.
inline const QString entryOnce = QStringLiteral("ورود پاسخها: يک بار");
inline const QString entryOnScreen = QStringLiteral("ورود پاسخها: آزمون روي صفحه");
inline const QString entryAwaitingSecond = QStringLiteral("ورود پاسخها: در انتظار ورود دوم پاسخنامه");
inline const QString entrySecondUnderWay = QStringLiteral("ورود پاسخها: ورود دوم پاسخنامه نيمه تمام است");
inline const QString entryAwaitingReview =
    QStringLiteral("ورود پاسخها: دو ورود اختلاف دارند، در انتظار بازبيني");
inline const QString entryVerified = QStringLiteral("ورود پاسخها: دو بار وارد و تاييد شده");
// The on-screen test's timings.
inline QString timingLine(const QString& medianSeconds, int fastItems, int thresholdSeconds)
{
    return QStringLiteral("زمان پاسخ: ميانه %1 ثانيه براي هر سؤال؛ %2 سؤال در کمتر از %3 ثانيه")
        .arg(medianSeconds)
        .arg(fastItems)
        .arg(thresholdSeconds);
}
// Answer patterns that cannot be taken at face value; they never change a score.
inline const QString flagsCaption = QStringLiteral("هشدار: ");
inline const QString flagSameAnswer = QStringLiteral("پاسخ يکسان به همه سؤالها");
inline const QString flagLongRun = QStringLiteral("رشته طولاني پاسخهاي يکسان");
inline const QString flagFastCompletion = QStringLiteral("پاسخگويي بسيار سريع");
inline const QString flagManyUnanswered = QStringLiteral("سؤالهاي بي پاسخ زياد");
inline const QString flagSeparator = QStringLiteral("، ");
} // namespace DatastoreTexts
