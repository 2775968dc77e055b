#pragma once

#include <QString>

// The texts of the exit dialog and the backup window.
namespace BackupTexts {

// Exit dialog.
inline const QString exitQuestion = QStringLiteral("آيا براي خروج از برنامه اطمينان داريد");
inline const QString makeBackup = QStringLiteral("تهيه نسخه پشتيبان");
inline const QString makeBackupBlank = QStringLiteral(" تهيه نسخه پشتيبان");
inline const QString backingUp = QStringLiteral("پشتيبان گيري");
inline const QString confirmPicture = QStringLiteral("خروج");
inline const QString cancelPicture = QStringLiteral("انصراف");

// Backup window.
inline const QString windowCaption = QStringLiteral("Back up ...  Reastor");
inline const QString chooseFile = QStringLiteral("---");
inline const QString backupCommand = QStringLiteral("BACKUP");
inline const QString restoreCommand = QStringLiteral("REASTOR");
inline const QString help = QStringLiteral("راهنما");
inline const QString backupPathCaption = QStringLiteral("مسير فايل پشتيبان:");
inline const QString restorePathCaption = QStringLiteral("فايل بازيابي:");
inline const QString dateCaption = QStringLiteral("تاريخ:");
inline const QString timeCaption = QStringLiteral("ساعت:");
inline const QString progressCaption = QStringLiteral("پيشرفت کپي");
inline const QString saveDialogCaption = QStringLiteral("ذخيره نسخه پشتيبان");
inline const QString openDialogCaption = QStringLiteral("انتخاب نسخه پشتيبان براي بازيابي");
// The filter as the file dialogs of the original program wrote it: description | pattern.
inline const QString fileFilter = QStringLiteral("Database Backup |*.mdbB");
inline const QString backupExtension = QStringLiteral(".mdbB");
inline const QString backupFolder = QStringLiteral("Back");

// Parts of the proposed backup file name: "Velmora" "در تاريخ" date " ساعت)" time ")" ".mdbB".
inline const QString nameProduct = QStringLiteral("Velmora");
inline const QString nameOnDate = QStringLiteral("در تاريخ");
inline const QString nameAtTime = QStringLiteral(" ساعت)");
inline const QString nameTimeEnd = QStringLiteral(")");
// The safety copy of the database that a restore replaces.
inline const QString safetyNameOnDate = QStringLiteral("پيش از بازيابي در تاريخ");

inline const QString backupPathEmpty = QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد");
inline const QString restorePathEmpty = QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد");
inline const QString overwriteQuestion =
    QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟");
inline const QString backupRefused = QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان");
inline const QString restoreQuestion = QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟");
inline const QString restoreRefused = QStringLiteral("عدم موفقيت در بازيابي اطلاعات ");
inline const QString copyFailed = QStringLiteral("اشکال در ايجاد نسخه پشتيباني");
inline const QString backupDone = QStringLiteral("نسخه پشتيبان تهيه گرديد");
inline const QString restoreDone = QStringLiteral("بازيابي اطلاعات انجام شد");

// Failure descriptions, shown after the copy-failure text or on their own.
inline const QString sourceMissing = QStringLiteral("فايل مبدا پيدا نشد:");
inline const QString sourceNotAFile = QStringLiteral("مسير انتخاب شده يک فايل نيست:");
inline const QString sourceUnreadable = QStringLiteral("فايل مبدا باز نشد:");
inline const QString destinationUnwritable = QStringLiteral("فايل مقصد ايجاد نشد:");
inline const QString readFailed = QStringLiteral("خواندن از فايل مبدا ممکن نشد:");
inline const QString writeFailed = QStringLiteral("نوشتن در فايل مقصد ممکن نشد (شايد فضاي ديسک پر است):");
inline const QString databaseBusy =
    QStringLiteral("اطلاعات برنامه در حال تغيير است؛ چند لحظه بعد دوباره تلاش کنيد.");
inline const QString copyNotSound =
    QStringLiteral("نسخه تهيه شده سالم نبود و ذخيره نشد؛ فايل قبلي با اين نام دست نخورده باقي ماند.");
inline const QString replaceFailed = QStringLiteral("جايگزيني فايل ممکن نشد:");
inline const QString notABackup = QStringLiteral("فايل انتخاب شده نسخه پشتيبان سالمي از اطلاعات اين برنامه "
                                                 "نيست و بازيابي نشد؛ اطلاعات فعلي دست نخورده باقي ماند.");
inline const QString safetyCopyFailed =
    QStringLiteral("نسخه احتياطي از اطلاعات فعلي در پوشه Back ساخته نشد؛ اطلاعات فعلي دست نخورده باقي ماند:");
// The clinic server mode.
inline const QString serverSnapshotFailed =
    QStringLiteral("اطلاعات از سرور درمانگاه خوانده نشد و نسخه پشتيبان ساخته نشد:");
inline const QString serverRestoreFailed =
    QStringLiteral("بازيابي اطلاعات روي سرور درمانگاه انجام نشد؛ اطلاعات سرور دست نخورده باقي ماند:");
inline const QString databaseInUse =
    QStringLiteral("فايل اطلاعات برنامه آزاد نشد؛ اطلاعات فعلي دست نخورده باقي ماند.");

// Encrypted backups.
inline const QString encryptCaption = QStringLiteral("رمزگذاري نسخه پشتيبان با گذرواژه");
inline const QString passwordTitle = QStringLiteral("گذرواژه نسخه پشتيبان");
inline const QString askNewPassword = QStringLiteral("گذرواژه نسخه پشتيبان را وارد کنيد:");
inline const QString askPasswordAgain = QStringLiteral("گذرواژه را دوباره وارد کنيد:");
inline const QString askRestorePassword =
    QStringLiteral("اين نسخه پشتيبان رمزگذاري شده است. گذرواژه آن را وارد کنيد:");
inline const QString passwordEmpty = QStringLiteral("گذرواژه نسخه پشتيبان نمي تواند خالي باشد.");
inline const QString passwordsDiffer =
    QStringLiteral("دو گذرواژه وارد شده يکسان نيستند؛ نسخه پشتيبان تهيه نشد.");
inline const QString wrongBackupPassword =
    QStringLiteral("گذرواژه درست نيست، يا فايل پشتيبان آسيب ديده است. اطلاعات فعلي دست نخورده باقي ماند.");
inline const QString encryptedDamaged = QStringLiteral(
    "فايل پشتيبان رمزگذاري شده آسيب ديده يا ناقص است و بازيابي نشد؛ اطلاعات فعلي دست نخورده باقي ماند.");
inline const QString encryptionUnavailable =
    QStringLiteral("کليد رمز ساخته نشد (حافظه کافي نيست)؛ کار انجام نشد.");
inline const QString protectionNotCarried =
    QStringLiteral("گزارش رويدادها و حساب هاي کاربري به اطلاعات بازيابي شده منتقل نشد؛ اطلاعات فعلي دست نخورده باقي ماند:");
inline const QString deriving = QStringLiteral("در حال ساختن کليد رمز از گذرواژه ...");
inline const QString encrypting = QStringLiteral("در حال رمزگذاري نسخه پشتيبان ...");

// While a copy runs: what the window is doing.
inline const QString copying = QStringLiteral("در حال کپي فايل ...");
inline const QString checkingCopy = QStringLiteral("در حال بررسي نسخه کپي شده ...");

// When a restore replaces the clinic server's data: which server, and how many subjects it holds
// now and the chosen file holds.
inline const QString unknownCount = QStringLiteral("نامعلوم");
inline QString serverRestoreQuestion(const QString& server, const QString& onServer, const QString& inFile)
{
    return QStringLiteral("بازيابي، همه اطلاعات سرور درمانگاه «%1» را جايگزين مي کند.\n"
                          "روي سرور اکنون %2 آزمودني ثبت است و در فايل انتخاب شده %3 آزمودني.\n"
                          "آيا ميخواهيد اطلاعات را بازيابي کنيد؟")
        .arg(server, onServer, inFile);
}

// The backup window opened at start for a damaged DABSH.skn.
inline QString damagedIntro(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» آسيب ديده است يا خوانده نمي شود. آن را از آخرين نسخه "
                          "پشتيبان بازيابي کنيد، يا نسخه اي از آن را با نام ديگري براي متخصص ذخيره کنيد. "
                          "با خروج از اين پنجره برنامه بسته مي شود.")
        .arg(fileName);
}
inline const QString damagedCopyCaption = QStringLiteral("نسخه فايل آسيب ديده:");
inline const QString saveDamagedCommand = QStringLiteral("ذخيره نسخه");
inline const QString damagedSaveDialogCaption = QStringLiteral("ذخيره نسخه اي از فايل آسيب ديده");
inline const QString damagedFileFilter = QStringLiteral("Damaged database |*.skn");
// Parts of the proposed name: "Velmora" "آسيب ديده در تاريخ" date " ساعت)" time ")" ".skn".
inline const QString damagedNameOnDate = QStringLiteral("آسيب ديده در تاريخ");
inline const QString damagedExtension = QStringLiteral(".skn");
inline const QString damagedCopyPathEmpty =
    QStringLiteral("لطفا مسير ذخيره نسخه فايل آسيب ديده را وارد کنيد");
inline const QString damagedCopyNameTaken = QStringLiteral(
    "فايلي با اين نام وجود دارد و جايگزين نشد؛ براي نسخه فايل آسيب ديده نام ديگري انتخاب کنيد:");
inline const QString damagedCopyDone = QStringLiteral("نسخه اي از فايل آسيب ديده ذخيره شد");

inline const QString helpText = QStringLiteral(
    "با اين پنجره از اطلاعات برنامه نسخه پشتيبان تهيه مي کنيد و در صورت نياز اطلاعات را به حالت قبلي "
    "باز مي گردانيد.\n"
    "تهيه نسخه پشتيبان: روي دکمه --- کنار کادر پشتيبان کليک کنيد، در پنجره باز شده محل و نام فايل را "
    "انتخاب و ذخيره کنيد، سپس روي دکمه BACKUP کليک کنيد تا پيام «نسخه پشتيبان تهيه گرديد» نمايش داده "
    "شود.\n"
    "هر چند وقت يک بار نسخه پشتيبان تهيه کنيد تا پس از نصب دوباره برنامه يا ويندوز بتوانيد اطلاعات "
    "را بازيابي کنيد.\n"
    "پيش از نصب دوباره ويندوز، نسخه پشتيبان را روي درايوي غير از درايوي که ويندوز روي آن نصب مي شود "
    "نگه داريد.\n"
    "بازيابي اطلاعات: روي دکمه --- کنار کادر بازيابي کليک کنيد، آخرين فايل پشتيبان را انتخاب و باز "
    "کنيد، روي دکمه REASTOR کليک کنيد و به پرسش پاسخ بله دهيد تا پيام «بازيابي اطلاعات انجام شد» "
    "نمايش داده شود.\n"
    "پيش از هر بازيابي، اطلاعات فعلي به صورت خودکار در پوشه Back نگه داشته مي شود.");

} // namespace BackupTexts
