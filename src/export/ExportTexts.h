#pragma once

#include "common/CommonTexts.h"
#include "scoring/ScoringTexts.h"
#include "testing/TestingTexts.h"

#include <QString>

// The Persian texts of the research export: the command, its dialogs and messages, and the
// captions and meanings of the codebook sheet.
namespace ExportTexts {

// The command and its file dialog.
inline const QString command = QStringLiteral("خروجي اکسل");
inline const QString saveCaption = command;
inline const QString fileFilter =
    QStringLiteral("کارپوشه اکسل (*.xlsx);;متن جدا شده با ويرگول (*.csv);;فايل داده SPSS (*.sav)");
// The proposed file name is this prefix, today's Jalali date as 1402-02-13 and the suffix.
inline const QString proposedNamePrefix = QStringLiteral("Velmora-");

// The choices before the file dialog.
inline const QString optionsTitle = command;
inline const QString formCaption = QStringLiteral("سطرهاي خروجي");
inline const QString formPerSubject = QStringLiteral("هر آزمودني يک سطر (آخرين اجراي آزمون)");
inline const QString formPerAdministration = QStringLiteral("هر اجراي آزمون يک سطر");
inline const QString anonymisedCaption = QStringLiteral("بي نام");
inline const QString anonymisedChoice = QStringLiteral("بدون نام و کد آزمودني، براي پژوهش بيرون از مرکز");
inline const QString earlierKey = QStringLiteral("کليد بي نام سازي قبلي ...");
inline const QString optionsContinue = QStringLiteral("ادامه");
inline const QString& optionsCancel = CommonTexts::cancel;

// The clinic's key for the pseudonyms.
inline const QString keyTitle = QStringLiteral("کليد بي نام سازي");
// %1 the key. The only place the key is ever shown.
inline const QString keyCreated =
    QStringLiteral("کليد بي نام سازي اين مرکز ساخته شد و براي خروجي هاي بعدي نگه داشته مي شود.\n"
                   "آن را يادداشت کنيد و در جاي امني نگه داريد؛ اين کليد ديگر نشان داده نمي شود.\n"
                   "خروجي هاي بي نام با يک کليد، براي هر آزمودني شناسه يکسان دارند.\n\n%1");
inline const QString keyPrompt = QStringLiteral("کليد قبلي (64 نويسه 0 تا 9 و a تا f):");
inline const QString keyInvalid = QStringLiteral("اين کليد درست نيست؛ کليد 64 نويسه از 0 تا 9 و a تا f است");
inline const QString keyReplace =
    QStringLiteral("کليد ديگري براي اين مرکز نگه داشته شده است. کليد وارد شده جاي آن را بگيرد؟\n"
                   "خروجي هاي بعدي با خروجي هاي کليد فعلي يکي نخواهند شد.");
inline const QString keyKept = QStringLiteral("کليد بي نام سازي نگه داشته شد");
// %1 the reason.
inline const QString keyNotStored = QStringLiteral("کليد بي نام سازي ذخيره نشد؛ خروجي ساخته نشد.\n%1");
inline const QString keyNotRead = QStringLiteral("کليد بي نام سازي خوانده نشد؛ خروجي ساخته نشد.\n%1");

// Before, during and after the writing.
inline const QString noSubjects = QStringLiteral("آزمودني اي براي خروجي وجود ندارد");
inline const QString& replaceExisting = CommonTexts::replaceExisting;
inline const QString progressTitle = command;
inline const QString progressLabel = QStringLiteral("در حال نوشتن خروجي آزمودني ها ...");
inline const QString& progressCancel = CommonTexts::cancel;
// The last phase, after the last subject, while the file is packed and checked.
inline const QString finishingLabel = QStringLiteral("در حال بستن و بررسي فايل خروجي ...");
// A cancel pressed during that phase takes effect when it ends.
inline const QString cancellingLabel = QStringLiteral("خروجي لغو مي شود ...");
inline const QString cancelled = QStringLiteral("خروجي لغو شد؛ فايلي ساخته نشد");
inline const QString& failureTitle = CommonTexts::warningTitle;
// %1 the file, %2 the reason.
inline const QString failed =
    QStringLiteral("خروجي ذخيره نشد؛ فايل قبلي با اين نام، اگر بود، دست نخورده ماند.\n%1\n%2");
inline const QString folderChosen = QStringLiteral("اين نام متعلق به يک پوشه است، نه يک فايل");
inline const QString incompleteWorkbook = QStringLiteral("فايل کامل نوشته نشد؛ شايد جاي خالي ديسک کافي نيست");
// %1 the library, with the Debian package that holds it.
inline const QString libraryMissing = QStringLiteral("کتابخانه %1 روي اين کامپيوتر پيدا نشد؛ آن را نصب کنيد");
inline const QString readFailed = QStringLiteral("خواندن اطلاعات آزمودني ها ممکن نشد: %1");
inline const QString& successTitle = CommonTexts::attentionTitle;
// %1 the number of subjects, %2 the file.
inline const QString written =
    QStringLiteral("اطلاعات %1 آزمودني در اين فايل ذخيره شد:\n%2\n\nفايل باز شود؟");
// %1 the number of administrations, %2 of subjects, %3 the file.
inline const QString writtenAdministrations =
    QStringLiteral("%1 اجراي آزمون از %2 آزمودني در اين فايل ذخيره شد:\n%3\n\nفايل باز شود؟");
// %1 the variable.
inline const QString textTooLong = QStringLiteral("متني در متغير %1 بلندتر از آن است که فايل SPSS نگه دارد");

// Sheet names (at most 31 characters, none of : \ / ? * [ ]).
inline const QString dataSheet = QStringLiteral("آزمودني ها");
inline const QString codebookSheet = QStringLiteral("راهنماي متغيرها");

// The codebook's header row.
inline const QString codebookVariable = QStringLiteral("متغير");
inline const QString codebookCaption = QStringLiteral("عنوان");
inline const QString codebookMeaning = QStringLiteral("توضيح");
inline const QString codebookValues = QStringLiteral("مقادير");

// Captions of the subject's particulars.
inline const QString captionCode = QStringLiteral("کد آزمودني");
inline const QString captionFirstName = QStringLiteral("نام");
inline const QString captionLastName = QStringLiteral("نام خانوادگي");
inline const QString captionAge = QStringLiteral("سن");
inline const QString captionGender = QStringLiteral("جنس");
inline const QString captionMarital = QStringLiteral("وضعيت تاهل");
inline const QString captionEducation = QStringLiteral("ميزان تحصيلات");
inline const QString captionGroup = QStringLiteral("گروه");
inline const QString captionDate = QStringLiteral("تاريخ ثبت");
inline const QString captionTime = QStringLiteral("ساعت ثبت");
// %1 the item number.
inline const QString captionItem = QStringLiteral("سوال %1");
// %1 the need's caption.
inline const QString captionMissing = QStringLiteral("بي پاسخ: %1");
inline const QString captionMissingTotal = QStringLiteral("بي پاسخ: کل");

inline const QString captionPseudonym = QStringLiteral("شناسه بي نام");
inline const QString captionSequence = QStringLiteral("شماره اجرا");
inline const QString captionAdministrationDate = QStringLiteral("تاريخ اجرا");

// Meanings.
inline const QString meaningCode = QStringLiteral("کد آزمودني همان گونه که ثبت شده (متن)");
inline const QString meaningText = QStringLiteral("متن، همان گونه که ثبت شده");
inline const QString meaningAge = QStringLiteral("سن به سال (عدد)");
inline const QString meaningDate = QStringLiteral("تاريخ شمسي ثبت آزمودني، سال/ماه/روز (متن)");
inline const QString meaningTime = QStringLiteral("ساعت ثبت آزمودني (متن)");
inline const QString meaningPseudonym = QStringLiteral(
    "به جاي کد آزمودني: شناسه اي که با کليد مرکز از کد ساخته شده؛ براي هر آزمودني در اين خروجي "
    "و در هر خروجي با همان کليد يکسان است و بدون کليد به کد برنمي گردد (متن)");
inline const QString meaningSequence =
    QStringLiteral("شماره اجراي آزمون براي اين آزمودني، 1 براي اولين اجرا (عدد)");
inline const QString meaningAdministrationDate =
    QStringLiteral("تاريخ شمسي شروع اين اجرا، سال/ماه/روز (متن)");
// Follows the meaning of a date in an anonymised export.
inline const QString meaningShifted = QStringLiteral("؛ جابه جا شده، ببينيد: بي نام");
// %1 the item text, %2 the need's caption.
inline const QString meaningItem = QStringLiteral("%1 (مقياس: %2)");
inline const QString meaningScore =
    QStringLiteral("ميانگين هفت سوال مقياس، سوال بي پاسخ صفر حساب مي شود (عدد)؛ خالي: نمره گذاري نشده");
// %1 the first item, %2 the last item.
inline const QString meaningMissing = QStringLiteral("تعداد سوال هاي بي پاسخ %1 تا %2 (عدد)");
inline const QString meaningMissingTotal = QStringLiteral("تعداد سوال هاي بي پاسخ از 35 سوال (عدد)");

// Value lists.
inline const QString valuesGender = CommonTexts::male + QStringLiteral("، ") + CommonTexts::female;
inline const QString valuesGroup = QStringLiteral("A تا G");
inline const QString valuesAnswer =
    QStringLiteral("5 = ") + TestingTexts::optionVeryMuch + QStringLiteral("، 4 = ") +
    TestingTexts::optionMuch + QStringLiteral("، 3 = ") + TestingTexts::optionMedium +
    QStringLiteral("، 2 = ") + TestingTexts::optionLittle + QStringLiteral("، 1 = ") +
    TestingTexts::optionVeryLittle + QStringLiteral("؛ خالي = بي پاسخ");
inline const QString valuesScore = QStringLiteral("0 تا 5");
inline const QString labelUnanswered = QStringLiteral("بي پاسخ");
inline const QString labelNotScored = QStringLiteral("نمره گذاري نشده");
inline const QString valuesSequence = QStringLiteral("1، 2، 3 ...");

// The codebook's lines about the rows as a whole.
inline const QString notesHeading = QStringLiteral("درباره اين خروجي");
inline const QString notePerAdministration =
    QStringLiteral("هر سطر يک اجراي آزمون است؛ آزمودني با چند اجرا چند سطر دارد، به ترتيب شماره اجرا، و "
                   "آزمودني اي که هرگز پاسخي نداده سطري ندارد.");
inline const QString noteAnonymised =
    QStringLiteral("بي نام: نام، نام خانوادگي و تحصيلات (متن آزاد) حذف شده اند.");
inline const QString notePseudonym =
    QStringLiteral("بي نام: کد آزمودني با شناسه بي نام (HMAC-SHA256 با کليد مرکز) جايگزين شده است.");
inline const QString noteShifted =
    QStringLiteral("بي نام: همه تاريخ هاي هر آزمودني به يک اندازه، بين 365 روز عقب تا 365 روز جلو، جابه جا "
                   "شده اند، پس فاصله اجراهاي او درست مانده است؛ تاريخ خالي يا ناخوانا خالي مانده است.");
inline const QString valuesMissing = QStringLiteral("0 تا 7");
inline const QString valuesMissingTotal = QStringLiteral("0 تا 35");

// The need captions in scale order S, L, F1, P, F2.
inline const QString* const needCaptions[] = {&ScoringTexts::needSurvival, &ScoringTexts::needLove,
                                              &ScoringTexts::needFreedom, &ScoringTexts::needPower,
                                              &ScoringTexts::needFun};

// How each administration was entered and taken, and the patterns flagged in it.
inline const QString captionEntry = QStringLiteral("ورود پاسخها");
inline const QString captionMedianSeconds = QStringLiteral("ميانه زمان هر سؤال");
inline const QString captionFastItems = QStringLiteral("پاسخهاي سريع");
inline const QString meaningEntry = QStringLiteral("چگونگي ورود پاسخهاي اين اجرا (متن)");
inline const QString valuesEntry = QStringLiteral(
    "once = يک بار وارد شده، screen = آزمون روي صفحه، first = در انتظار ورود دوم پاسخنامه، second = ورود دوم "
    "نيمه تمام، review = دو ورود اختلاف دارند و در انتظار بازبيني است، verified = دو بار وارد و تاييد شده");
inline const QString meaningMedianSeconds =
    QStringLiteral("ميانه ثانيه هاي صرف شده براي هر سؤال در آزمون روي صفحه (عدد)؛ خالي: بدون زمان سنجي");
inline const QString meaningFastItems = QStringLiteral(
    "تعداد سؤالهاي پاسخ داده شده در کمتر از مرز پاسخ سريع تنظيمات، در آزمون روي صفحه (عدد)؛ خالي: بدون زمان "
    "سنجي");
inline const QString valuesSeconds = QStringLiteral("0 و بيشتر");
// %1 the flag's name.
inline const QString meaningFlag =
    QStringLiteral("1 اگر در پاسخهاي اين اجرا «%1» ديده شود، وگرنه 0؛ نمره را تغيير نمي دهد");
inline const QString valuesFlag = QStringLiteral("0، 1");
inline const QString labelFlagAbsent = QStringLiteral("ديده نشد");
inline const QString labelFlagPresent = QStringLiteral("ديده شد");

} // namespace ExportTexts
