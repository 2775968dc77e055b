#pragma once

#include <QString>
#include <QStringList>

// Texts shared by several windows. Each window subsystem keeps its own texts in its own header.
namespace CommonTexts {
inline const QString applicationTitle = QStringLiteral("Velmora V:");
inline const QString noticeTitle = QStringLiteral("پيام");
inline const QString warningTitle = QStringLiteral("خطا");
inline const QString plainTitle = QStringLiteral("هشدار");
inline const QString attentionTitle = QStringLiteral("توجه");
inline const QString errorTitle = QStringLiteral("Error");

inline const QString numbersOnly = QStringLiteral("شما بايد عدد وارد كنيد");
inline const QString enterSubjectNumber = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
inline const QString noSuchSubject = QStringLiteral("فردي با اين مشخصات وجود ندارد");
inline const QString enterCode = QStringLiteral("کد آزمودني را وارد کنيد");
// The code is taken by another subject.
inline const QString codeTaken = QStringLiteral("فردديگري با اين کد ثبت شده");
inline const QString changesSaved = QStringLiteral("تغييرات با موفقيت ذخيره شد");
// Captions of a subject's record, the same in every window that shows it.
inline const QString codeCaption = QStringLiteral(":کد آزمودني");
inline const QString firstNameCaption = QStringLiteral(" :نام");
inline const QString lastNameCaption = QStringLiteral(" :نام خانوادگي");
inline const QString genderCaption = QStringLiteral(" :جنس");
inline const QString ageCaption = QStringLiteral(" :سن");
inline const QString maritalCaption = QStringLiteral(" :وضعيت تاهل");
inline const QString educationCaption = QStringLiteral(" :ميزان تحصيلات");
inline const QString dateCaption = QStringLiteral(" :تاريخ");
inline const QString timeCaption = QStringLiteral(" :ساعت");
inline const QString male = QStringLiteral("مرد");
inline const QString female = QStringLiteral("زن");
// The marital states the registration offers (and the research export labels).
inline const QStringList maritalStates = {QStringLiteral("مجرد"), QStringLiteral("متأهل"),
                                          QStringLiteral("مطلقه"), QStringLiteral("بيوه")};
inline const QString genderHint = QStringLiteral("جنسيت را انتخاب كنيد");
inline const QString groupHint = QStringLiteral("گروه را انتخاب كنيد");

// Command captions shared by several windows.
inline const QString chooseSubject = QStringLiteral("انتخاب آزمودني");
inline const QString save = QStringLiteral("ذخيره");
inline const QString cancel = QStringLiteral("انصراف");
inline const QString next = QStringLiteral("بعدي");
inline const QString previous = QStringLiteral("قبلي");
inline const QString exitCaption = QStringLiteral("خروج");
inline const QString changesNotSaved = QStringLiteral("تغييرات ذخيره نشد");
// A file of the chosen name is there already: the question before it is written over. %1 the file.
inline const QString replaceExisting = QStringLiteral("فايلي با اين نام وجود دارد. جايگزين شود؟\n%1");

// Why a file could not be written, added to the message that names the file.
inline const QString noWritePermission = QStringLiteral("اجازه نوشتن در اين پوشه يا فايل را نداريد");
inline const QString diskFull = QStringLiteral("فضاي خالي ديسک کافي نيست");
inline const QString folderMissing = QStringLiteral("پوشه مقصد وجود ندارد");
inline const QString fileInUse = QStringLiteral("فايل در دست برنامه ديگري است");

// An installed program whose user's data folder cannot be made or written, at start; the program
// ends. %1 the folder.
inline const QString dataFolderNotMade =
    QStringLiteral("پوشه اطلاعات شما ساخته نشد و برنامه بسته مي شود:\n%1");
// The same where the user's home folder is not known (HOME not set).
inline const QString noHomeFolder =
    QStringLiteral("پوشه خانگي كاربر معلوم نيست؛ اطلاعات جايي براي ذخيره ندارد و برنامه بسته مي شود");
} // namespace CommonTexts
