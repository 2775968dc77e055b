#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the on-screen test and the answer sheet.
namespace TestingTexts {

// The on-screen test.
inline const QString testTitle = QStringLiteral("صفحه اجراي تست");
inline const QString programTitle = QStringLiteral("نرم افزار آزمون ولمورا");
inline const QString instructions = QStringLiteral(
    "لطفا عبارات زيِر را به دقت بخوانيد و ميزان هر يک از نيازهاي فهرست شده را از بسيار کم تا بسيار زياد در "
    "خود درجه بندي کنيد.  هر عبارت در خصوص مقدار و ميزان وجود يک گرايش يا نياز در شما سوال مي کند");
inline const QString optionLegend =
    QStringLiteral(" بسيار زياد  --- زياد  ---  متوسط ---   کم ---  بسيار کم ");
inline const QString start = QStringLiteral("شروع");
inline const QString& next = CommonTexts::next;
inline const QString& back = CommonTexts::previous;
inline const QString saveAndExit = QStringLiteral("ذخيره و خروج");

// The five options, top to bottom; they store "5" … "1".
inline const QString optionVeryMuch = QStringLiteral("بسيار زياد");
inline const QString optionMuch = QStringLiteral("زياد");
inline const QString optionMedium = QStringLiteral("متوسط");
inline const QString optionLittle = QStringLiteral("کم");
inline const QString optionVeryLittle = QStringLiteral("بسيار کم");

// Notices when the item number runs out of range.
inline const QString startNotice = QStringLiteral("شروع");
inline const QString endNotice = QStringLiteral("پايان");

// Captions of the subject panel.
inline const QString& codeCaption = CommonTexts::codeCaption;
inline const QString& firstNameCaption = CommonTexts::firstNameCaption;
inline const QString& lastNameCaption = CommonTexts::lastNameCaption;
inline const QString& genderCaption = CommonTexts::genderCaption;
inline const QString& ageCaption = CommonTexts::ageCaption;
inline const QString& maritalCaption = CommonTexts::maritalCaption;
inline const QString& educationCaption = CommonTexts::educationCaption;
inline const QString& dateCaption = CommonTexts::dateCaption;
inline const QString& timeCaption = CommonTexts::timeCaption;
// The item-number box has no caption of its own on the form; this one names it for screen readers.
inline const QString itemNumberCaption = QStringLiteral(":شماره سؤال");

// The answer sheet.
inline const QString sheetTitle = QStringLiteral("پاسخنامه");
inline const QString sheetInstructions =
    QStringLiteral("جهت گزينه بسيار زياد عدد5 ، گزينه زياد  عدد 4 ، گزينه متوسط عدد 3 ، گزينه کم عدد 2 ، و "
                   "گزينه بسيار کم عدد 1 و گزينه هاي بدون پاسخ عدد 0 را وارد نماييد");
inline const QString& selectSubject = CommonTexts::chooseSubject;
inline const QString& save = CommonTexts::save;
inline const QString& exit = CommonTexts::exitCaption;
inline const QString selectFirst =
    QStringLiteral("ابتدا کدآزمودني مورد نظر را وارد نموده سپس روي انتخاب آزمودني کليک كنيد");
inline const QString changesSaved = QStringLiteral("تغييرات با موفقيت ذخيره گرديد");
// Committing the typed answers failed; they stay in the boxes for another try.
inline const QString saveFailed = QStringLiteral("ذخيره پاسخها انجام نشد. لطفا دوباره ذخيره کنيد");
// The answers typed could not be stored before the sheet would leave its subject.
inline const QString answersNotStored = QStringLiteral(
    "پاسخهاي وارد شده در فايل اطلاعات ذخيره نشد و روي صفحه باقي مانده است. لطفا فضاي ديسک يا اجازه نوشتن "
    "را بررسي کرده و دوباره ذخيره کنيد");
// Changes to the subject panel of the test window could not be stored.
inline const QString subjectNotStored = QStringLiteral(
    "تغييرات مشخصات آزمودني در فايل اطلاعات ذخيره نشد. لطفا فضاي ديسک يا اجازه نوشتن را بررسي کرده و "
    "دوباره ذخيره کنيد");
// The subject has no answer row yet and none could be made.
inline const QString answerRowNotCreated = QStringLiteral(
    "ثبت پاسخنامه اين آزمودني در فايل اطلاعات ممکن نشد. لطفا فضاي ديسک يا اجازه نوشتن را بررسي کنيد");
// Captions of the code box and the name box, which the form shows without a label of their own.
inline const QString& sheetCodeCaption = CommonTexts::codeCaption;
inline const QString sheetNameCaption = QStringLiteral(":نام آزمودني");

// A subject who already has a scored administration begins the test or gets a sheet typed.
inline const QString& retestTitle = CommonTexts::attentionTitle;
inline const QString retestQuestion = QStringLiteral(
    "براي اين آزمودني قبلا يک اجراي کامل و نمره گذاري شده ثبت شده است.\n"
    "اگر اين اجراي تازه اي از آزمون است، اجراي قبلي با همه پاسخها و نمره هايش در سابقه آزمودني نگه داشته "
    "مي شود. اگر مي خواهيد همان اجراي قبلي را اصلاح کنيد، پاسخهاي آن جايگزين مي شود.");
inline const QString retestNew = QStringLiteral("اجراي تازه");
inline const QString retestCorrection = QStringLiteral("اصلاح اجراي قبلي");
// The earlier administration could not be kept (or not even read): nothing was changed.
inline const QString retestNotStored = QStringLiteral(
    "نگهداري اجراي قبلي در سابقه آزمودني ممکن نشد و چيزي تغيير نکرد. لطفا فضاي ديسک يا اجازه نوشتن را "
    "بررسي کنيد");
// When, how and by whom a first administration began could not be noted: it does not start.
inline const QString startNotStored = QStringLiteral(
    "ثبت شروع اين اجراي آزمون در فايل اطلاعات ممکن نشد و آزمون شروع نشد. لطفا فضاي ديسک يا اجازه نوشتن را "
    "بررسي کنيد");
inline const QString retestNotRead =
    QStringLiteral("اجراهاي قبلي اين آزمودني خوانده نشد و آزمون شروع نشد. لطفا دوباره امتحان کنيد");

// How the on-screen test was taken could not be stored; the window stays open.
inline const QString timingsNotStored = QStringLiteral(
    "زمان پاسخگويي اين آزمون در فايل اطلاعات ذخيره نشد. لطفا فضاي ديسک يا اجازه نوشتن را بررسي کرده و "
    "دوباره ذخيره کنيد");

// A sheet entered twice: the second entry is typed without the first one shown.
inline const QString secondEntryNotice = QStringLiteral(
    "اين پاسخنامه بايد دو بار وارد شود. ورود دوم را از روي پاسخنامه کاغذي وارد کنيد؛ پاسخهاي ورود اول نمايش "
    "داده نمي شود.");
inline const QString entriesAgree = QStringLiteral("دو ورود اين پاسخنامه يکسان است و پاسخها تاييد شد.");
// The state of the double entry could not be stored; the typed answers stay on screen.
inline const QString entryStateNotStored = QStringLiteral(
    "وضعيت ورود پاسخنامه در فايل اطلاعات ذخيره نشد. لطفا فضاي ديسک يا اجازه نوشتن را بررسي کرده و "
    "دوباره ذخيره کنيد");
inline const QString entryStateNotRead =
    QStringLiteral("وضعيت ورود پاسخنامه اين آزمودني خوانده نشد. لطفا دوباره امتحان کنيد");

// The review of two entries that disagree.
inline const QString reviewTitle = QStringLiteral("بازبيني دو ورود پاسخنامه");
inline QString reviewIntro(const QString& code, const QString& percent, int differing)
{
    return QStringLiteral("آزمودني %1: توافق دو ورود %2 درصد است و %3 سؤال اختلاف دارد. براي هر سؤال مقدار "
                          "درست را از روي پاسخنامه کاغذي انتخاب يا وارد کنيد (0 براي بي پاسخ).")
        .arg(code, percent)
        .arg(differing);
}
inline const QString reviewItemHeading = QStringLiteral("سؤال");
inline const QString reviewFirstHeading = QStringLiteral("ورود اول");
inline const QString reviewSecondHeading = QStringLiteral("ورود دوم");
inline const QString reviewChosenHeading = QStringLiteral("مقدار درست");
inline QString reviewItemCaption(int item)
{
    return QStringLiteral("سؤال %1").arg(item);
}
inline QString reviewValueCaption(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("بي پاسخ") : value;
}
inline const QString reviewStore = QStringLiteral("ثبت و تاييد");
inline const QString reviewLater = QStringLiteral("بعدا");
inline const QString reviewIncomplete =
    QStringLiteral("براي همه سؤالهاي داراي اختلاف يک مقدار از 0 تا 5 وارد کنيد.");
inline const QString reviewStored = QStringLiteral("بازبيني ثبت شد و پاسخها تاييد شد.");
inline const QString reviewNotStored = QStringLiteral(
    "نتيجه بازبيني در فايل اطلاعات ذخيره نشد و روي صفحه باقي مانده است. لطفا فضاي ديسک يا اجازه نوشتن را "
    "بررسي کرده و دوباره ثبت کنيد");

} // namespace TestingTexts
