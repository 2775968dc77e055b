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
inline const QString fileFilter = QStringLiteral("کارپوشه اکسل (*.xlsx);;متن جدا شده با ويرگول (*.csv)");
// The proposed file name is this prefix, today's Jalali date as 1402-02-13 and the suffix.
inline const QString proposedNamePrefix = QStringLiteral("Velmora-");

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
inline const QString readFailed = QStringLiteral("خواندن اطلاعات آزمودني ها ممکن نشد: %1");
inline const QString& successTitle = CommonTexts::attentionTitle;
// %1 the number of subjects, %2 the file.
inline const QString written =
    QStringLiteral("اطلاعات %1 آزمودني در اين فايل ذخيره شد:\n%2\n\nفايل باز شود؟");

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

// Meanings.
inline const QString meaningCode = QStringLiteral("کد آزمودني همان گونه که ثبت شده (متن)");
inline const QString meaningText = QStringLiteral("متن، همان گونه که ثبت شده");
inline const QString meaningAge = QStringLiteral("سن به سال (عدد)");
inline const QString meaningDate = QStringLiteral("تاريخ شمسي ثبت آزمودني، سال/ماه/روز (متن)");
inline const QString meaningTime = QStringLiteral("ساعت ثبت آزمودني (متن)");
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
inline const QString valuesMissing = QStringLiteral("0 تا 7");
inline const QString valuesMissingTotal = QStringLiteral("0 تا 35");

// The need captions in scale order S, L, F1, P, F2.
inline const QString* const needCaptions[] = {&ScoringTexts::needSurvival, &ScoringTexts::needLove,
                                              &ScoringTexts::needFreedom, &ScoringTexts::needPower,
                                              &ScoringTexts::needFun};

} // namespace ExportTexts
