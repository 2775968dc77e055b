#pragma once

#include <QString>

// The texts of the audit trail and its window.
namespace AuditTexts {

inline const QString windowTitle = QStringLiteral("گزارش رويدادها");
inline const QString openCommand = QStringLiteral("گزارش رويدادها");

// The actions as the window names them.
inline const QString signIn = QStringLiteral("ورود به برنامه");
inline const QString signInFailed = QStringLiteral("ورود ناموفق");
inline const QString signOut = QStringLiteral("خروج کاربر");
inline const QString accountChanged = QStringLiteral("تغيير حساب کاربري");
inline const QString settingsChanged = QStringLiteral("تغيير تنظيمات");
inline const QString scoresOpened = QStringLiteral("مشاهده نمره ها");
inline const QString chartOpened = QStringLiteral("مشاهده نمودار");
inline const QString printed = QStringLiteral("چاپ");
inline const QString exported = QStringLiteral("خروجي فايل");
inline const QString registered = QStringLiteral("ثبت آزمودني");
inline const QString recordChanged = QStringLiteral("تغيير پرونده");
inline const QString deleted = QStringLiteral("حذف آزمودني");
inline const QString backedUp = QStringLiteral("تهيه نسخه پشتيبان");
inline const QString restored = QStringLiteral("بازيابي اطلاعات");
inline const QString anyAction = QStringLiteral("همه");

// Filter captions and commands.
inline const QString userCaption = QStringLiteral("کاربر:");
inline const QString codeCaption = QStringLiteral("کد آزمودني:");
inline const QString fromCaption = QStringLiteral("از تاريخ:");
inline const QString untilCaption = QStringLiteral("تا تاريخ:");
inline const QString actionCaption = QStringLiteral("رويداد:");
inline const QString showCommand = QStringLiteral("نمايش");
inline const QString checkCommand = QStringLiteral("بررسي گزارش رويدادها");
inline const QString exportCommand = QStringLiteral("خروجي CSV");
inline const QString closeCommand = QStringLiteral("خروج");
inline const QString listCaption = QStringLiteral("رويدادها");
inline const QString datePlaceholder = QStringLiteral("1402/02/13");

// The list's column headings; also the header row of the .csv file.
inline const QString seqHeading = QStringLiteral("رديف");
inline const QString dateHeading = QStringLiteral("تاريخ");
inline const QString timeHeading = QStringLiteral("ساعت");
inline const QString userHeading = QStringLiteral("کاربر");
inline const QString workstationHeading = QStringLiteral("رايانه");
inline const QString actionHeading = QStringLiteral("رويداد");
inline const QString codeHeading = QStringLiteral("کد آزمودني");
inline const QString detailHeading = QStringLiteral("شرح");

// Details the program writes into rows.
inline QString subjectCount(qint64 count)
{
    return QStringLiteral("%1 آزمودني").arg(count);
}
inline QString anonymisedExportDetail(qint64 count)
{
    return QStringLiteral("%1 آزمودني، بي نام").arg(count);
}
inline const QString clinicProfileDetail = QStringLiteral("مشخصات مرکز");
inline const QString logoDetail = QStringLiteral("آرم مرکز");
inline const QString logoFlagDetail = QStringLiteral("نمايش آرم در چاپ");
inline const QString entryChecksDetail = QStringLiteral("ورود پاسخنامه و هشدارها");
inline QString itemTextDetail(const QString& item)
{
    return QStringLiteral("متن سوال %1").arg(item);
}
inline const QString answerSheetDetail = QStringLiteral("پاسخنامه");
inline const QString onScreenTestDetail = QStringLiteral("آزمون روي صفحه");
inline const QString newAdministrationDetail = QStringLiteral("اجراي تازه آزمون");
// The steps of a sheet entered twice.
inline const QString secondEntryDetail = QStringLiteral("ورود دوم پاسخنامه");
inline const QString entriesAgreeDetail = QStringLiteral("دو ورود پاسخنامه يکسان است؛ تاييد شد");
inline QString entriesDisagreeDetail(const QString& percent)
{
    return QStringLiteral("دو ورود پاسخنامه اختلاف دارد؛ توافق %1 درصد").arg(percent);
}
inline const QString reviewDetail = QStringLiteral("بازبيني دو ورود پاسخنامه؛ تاييد شد");
inline const QString subjectRecordDetail = QStringLiteral("مشخصات آزمودني");
inline QString codeChangedDetail(const QString& earlier)
{
    return QStringLiteral("کد قبلي: %1").arg(earlier);
}
inline const QString scoreSheetDetail = QStringLiteral("برگه نمره ها");
inline const QString coupleDetail = QStringLiteral("مقايسه زوج");
inline const QString chartDetail = QStringLiteral("نمودار");
inline const QString wordDetail = QStringLiteral("سند Word");
inline const QString subjectListDetail = QStringLiteral("فهرست آزمودني ها");
// A failed sign-in names the account only where the typed name is one: a password typed into the
// name box must not end up in the trail.
inline const QString unknownUserName = QStringLiteral("نام کاربري ناشناخته");
inline QString accountDetail(const QString& what, const QString& account)
{
    return account.isEmpty() ? what : what + QStringLiteral(": ") + account;
}
inline const QString encryptedBackup = QStringLiteral("رمزگذاري شده");
inline const QString plainBackup = QStringLiteral("بدون رمز");

// Messages.
inline const QString notRecorded = QStringLiteral("رويداد در گزارش رويدادها ثبت نشد:");
inline const QString unreadable = QStringLiteral("گزارش رويدادها خوانده نشد:");
inline const QString badDate = QStringLiteral("تاريخ را به صورت سال/ماه/روز وارد کنيد، مانند 1402/02/13");
inline QString rowsShown(qint64 count)
{
    return QStringLiteral("%1 رويداد").arg(count);
}
inline QString chainIntact(qint64 rows)
{
    return QStringLiteral("گزارش رويدادها سالم است؛ %1 رديف بررسي شد.").arg(rows);
}
inline QString chainChanged(qint64 seq)
{
    return QStringLiteral("نخستين پيوند شکسته در رديف %1: اين رديف پس از ثبت تغيير کرده است.").arg(seq);
}
inline QString chainMissing(qint64 seq)
{
    return QStringLiteral("نخستين پيوند شکسته در رديف %1: رديف يا رديف هايي پيش از آن حذف شده است.").arg(seq);
}
inline const QString saveDialogCaption = QStringLiteral("ذخيره گزارش رويدادها");
inline const QString csvFilter = QStringLiteral("CSV (*.csv)");
inline const QString exportedTo = QStringLiteral("گزارش رويدادها ذخيره شد:");
inline const QString exportFailed = QStringLiteral("گزارش رويدادها ذخيره نشد:");

} // namespace AuditTexts
