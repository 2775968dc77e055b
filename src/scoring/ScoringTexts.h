#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the scoring window, the scoring and the couple comparison.
namespace ScoringTexts {

// The window and its commands.
inline const QString windowCaption = QStringLiteral("کليد گذاري");
inline const QString& chooseSubject = CommonTexts::chooseSubject;
inline const QString coupleChart = QStringLiteral("مشاهده نمودار زوجي");
inline const QString singleChart = QStringLiteral("مشاهده نمودارتکي");
inline const QString historyCommand = QStringLiteral("سابقه اجراها");
inline const QString printAll = QStringLiteral("پرينت کل  آزمودني ها ");
inline const QString printChosen = QStringLiteral("پرينت آزمودني انتخاب شده");
inline const QString saveChanges = QStringLiteral("ذخيره تغييرات");
inline const QString help = QStringLiteral("راهنما");
inline const QString& helpClose = CommonTexts::exitCaption;
inline const QString close = QStringLiteral(" خروج");

// Captions of the subject record area and the gender list.
inline const QString captionCode = QStringLiteral(" :کد آزمودني");
inline const QString& captionFirstName = CommonTexts::firstNameCaption;
inline const QString& captionLastName = CommonTexts::lastNameCaption;
inline const QString& captionGender = CommonTexts::genderCaption;
inline const QString& captionAge = CommonTexts::ageCaption;
inline const QString& captionMarital = CommonTexts::maritalCaption;
inline const QString& captionEducation = CommonTexts::educationCaption;
inline const QString& captionDate = CommonTexts::dateCaption;
// The small field of the command bar that shows the chosen code.
inline const QString captionChosenCode = QStringLiteral(" :انتخاب شده");
inline const QString& male = CommonTexts::male;
inline const QString& female = CommonTexts::female;
inline const QString& genderHint = CommonTexts::genderHint;

// Captions above the score boxes, in scale order S, L, F1, P, F2.
inline const QString needSurvival = QStringLiteral("نياز به بقا");
inline const QString needLove = QStringLiteral("نياز به عشق");
inline const QString needFreedom = QStringLiteral("نياز به آزادي");
inline const QString needPower = QStringLiteral("نياز به قدرت");
inline const QString needFun = QStringLiteral("نياز به تفريح");

// Choosing and scoring one subject.
inline const QString askCodeTitle = QStringLiteral(" کد آزمودني را وارد کنيد");
inline const QString askCodePrompt = QStringLiteral(" Enter Number ");
inline const QString unansweredWarning = QStringLiteral("شما به سوالات زير پاسخ نداده ايد ");
inline const QString scoredAndStored = QStringLiteral("اطلاعات با موفقيت محاسبه و ذخيره شد");

// The subject data line.
inline const QString lineCode = QStringLiteral("كد آزمودني: ");
inline const QString lineSeparator = QStringLiteral("  -  ");
inline const QString lineName = QStringLiteral("نام و نام خانوادگي: ");
inline const QString lineAge = QStringLiteral("سن: ");
inline const QString lineGender = QStringLiteral("جنس: ");
inline const QString lineMarital = QStringLiteral("وضعيت تاهل: ");
inline const QString lineEducation = QStringLiteral("ميزان تحصيلات: ");

// The couple comparison.
inline const QString askCode1Title = QStringLiteral("  کد آزمودني شماره 1 را وارد کنيد");
inline const QString askCode2Title = QStringLiteral("  کد آزمودني شماره2 را وارد کنيد");
inline const QString askCoupleCodePrompt = QStringLiteral("  ");
inline const QString subject1NotFound =
    QStringLiteral("کد آزمودني شماره 1 اشتباه است يا فردي با اين مشخصات وجود ندارد");
inline const QString subject2NotFound =
    QStringLiteral("کد آزمودني شماره 2 اشتباه است يا فردي با اين مشخصات وجود ندارد");
inline const QString subject1Unanswered = QStringLiteral(" آزمودني شماره 1 به سوالات زير پاسخ نداده است ");
inline const QString subject2Unanswered = QStringLiteral(" آزمودني شماره 2  به سوالات زير پاسخ نداده است ");
inline const QString subject1Prefix = QStringLiteral("آزمودني 1:  ");
inline const QString subject2Prefix = QStringLiteral("آزمودني 2:  ");

// A code that has answers but no subject record: there is no row for the scores, so nothing is
// stored. The couple comparison puts the subject's number in front.
inline const QString noSubjectRecord =
    QStringLiteral("براي اين کد آزمودني پاسخ ها ثبت شده ولي مشخصات آزمودني وجود ندارد؛ نمره ها ذخيره نشد");
inline const QString coupleSubjectNumber = QStringLiteral("آزمودني شماره %1: ");

// A write that failed, said instead of the success notice.
inline const QString scoresNotStored = QStringLiteral("نمره ها محاسبه شد ولي در پرونده آزمودني ذخيره نشد");
inline const QString& changesNotSaved = CommonTexts::changesNotSaved;

// Single chart.
inline const QString chooseFirstForChart = QStringLiteral(
    "ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد بعد روي مشاهده نمودار کليک کنيد ");

// The print of the chosen subject.
inline const QString chooseFirstForPrint =
    QStringLiteral("ابتدا روي انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد بعد روي پرينت کليک کنيد ");
inline const QString subjectReportTitle = QStringLiteral("نتيجه آزمون آزمودني");
inline const QString reportColumnScale = QStringLiteral("نياز");
inline const QString reportColumnScore = QStringLiteral("نمره");
inline const QString reportColumnUnanswered = QStringLiteral("سوالات بي پاسخ");
// "2 از 7": two of the scale's seven items unanswered.
inline const QString reportUnansweredOfSeven = QStringLiteral("%1 از 7");
inline const QString reportUnansweredNote =
    QStringLiteral("سوال بي پاسخ در محاسبه نمره صفر منظور شده است؛ نمره مقياسي که سوال بي پاسخ دارد بر پايه "
                   "کمتر از هفت پاسخ است.");

// The help panel: seven lines, each ended by CR LF.
inline const QString helpText = QStringLiteral("در اين قسمت از نرم افزار ابتدا روي انتخاب آزمودني \r\n"
                                               "کليک کرده سپس کد آزمودني را وارد کنيد و دکمه \r\n"
                                               "اينتر را فشار دهيد نتيجه آزمون نمايش داده و ذخيره \r\n"
                                               "خواهد شد در صورتيکه تمايل داريد نتيجه آزمون را \r\n"
                                               "پرينت بگيريد روي دکمه مشاهده نمودار کليک کنيد و \r\n"
                                               "در صورتيکه تمايل به پرينت نتيجه آزمون کل آزمودنيها \r\n"
                                               "را داريد روي دکمه پرينت کل آزمودنيها کليک کنيد\r\n");

// The reliable change between two administrations of one subject (ChangeTable), in the history
// window and the one-subject report.
inline const QString changeCaption = QStringLiteral("تغيير پايا (شاخص جيکوبسن و تروآکس، 95 درصد):");
inline const QString changeColumnScale = QStringLiteral("مقياس");
inline const QString changeColumnEarlier = QStringLiteral("نمره اول");
inline const QString changeColumnLater = QStringLiteral("نمره دوم");
inline const QString changeColumnChange = QStringLiteral("تغيير");
inline const QString changeColumnIndex = QStringLiteral("شاخص");
inline const QString changeColumnVerdict = QStringLiteral("نتيجه");
inline const QString changeColumnAlpha = QStringLiteral("آلفا (تعداد اجرا)");
inline const QString reliableRise = QStringLiteral("افزايش پايا");
inline const QString reliableFall = QStringLiteral("کاهش پايا");
inline const QString withinError = QStringLiteral("در حد خطاي اندازه گيري");
// In place of alpha or a reliable change index that the stored administrations cannot give
// (ReliableChange).
inline const QString notEnoughData = QStringLiteral("داده کافي نيست");
inline const QString changeUnanswered = QStringLiteral("سوال بي پاسخ");
inline const QString estimating = QStringLiteral("در حال برآورد پايايي از اجراهاي ذخيره شده ...");
// The progress dialog's label while the estimate is read: %1 read, %2 in all.
inline const QString estimatingCount = QStringLiteral("در حال برآورد پايايي: %1 از %2 اجرا خوانده شد");
inline const QString estimateUnreadable = QStringLiteral("اجراهاي ذخيره شده براي برآورد پايايي خوانده نشد");
inline QString estimateBasis(int fewest, int most)
{
    return fewest == most
               ? QStringLiteral("پايايي هر مقياس از داده هاي همين مركز برآورد شده است (%1 اجرا).").arg(most)
               : QStringLiteral("پايايي هر مقياس از داده هاي همين مركز برآورد شده است (%1 تا %2 اجرا).")
                     .arg(fewest)
                     .arg(most);
}
inline QString needsAtLeast(int count)
{
    return QStringLiteral("براي برآورد پايايي دست کم %1 اجراي کامل لازم است.").arg(count);
}
// The one-subject report's heading of the table: %1 and %2 the two administrations as
// "اجراي 1 (1402/02/13)".
inline const QString reportChangeHeading = QStringLiteral("تغيير پايا از %1 تا %2");
inline const QString administrationLabel = QStringLiteral("اجراي %1 (%2)");
// The couple comparison of partners who have taken the questionnaire more than once: %1 the
// partner's number.
inline const QString askAdministrationTitle = QStringLiteral("اجراي آزمون آزمودني شماره %1");
inline const QString askAdministrationPrompt = QStringLiteral("کدام اجراي آزمون در مقايسه به کار رود؟");
// Put between the partner's data line and the administration used.
inline const QString administrationSeparator = QStringLiteral(" - ");

} // namespace ScoringTexts
