#pragma once

#include <QString>
#include <QStringList>

// The Persian texts of the registration panel.
namespace RegistrationTexts {

// Captions of the fields.
inline const QString codeCaption = QStringLiteral(":کد آزمودني");
inline const QString firstNameCaption = QStringLiteral(" :نام");
inline const QString lastNameCaption = QStringLiteral(" :نام خانوادگي");
inline const QString genderCaption = QStringLiteral(" :جنس");
inline const QString ageCaption = QStringLiteral(" :سن");
inline const QString maritalCaption = QStringLiteral(" :تاهل");
inline const QString educationCaption = QStringLiteral(" :تحصيلات");
inline const QString dateCaption = QStringLiteral(" :تاريخ");
inline const QString timeCaption = QStringLiteral(" :ساعت");
inline const QString groupCaption = QStringLiteral(" :گروه");

// Buttons.
inline const QString save = QStringLiteral("ذخيره");
inline const QString cancel = QStringLiteral("انصراف");

// The items of the three lists.
inline const QStringList genderItems = {QStringLiteral("مرد"), QStringLiteral("زن")};
inline const QStringList maritalItems = {QStringLiteral("مجرد"), QStringLiteral("متأهل"),
                                         QStringLiteral("مطلقه"), QStringLiteral("بيوه")};
inline const QStringList groupItems = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                       QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"),
                                       QStringLiteral("G")};

// Hints of the lists (the group list shares the gender list's hint).
inline const QString maritalHint = QStringLiteral("وضعيت تأهل خود را مشخص کنيد");
inline const QString genderHint = QStringLiteral("جنسيت را انتخاب كنيد");
inline const QString groupHint = QStringLiteral("جنسيت را انتخاب كنيد");

// Notices of the checks on saving, in the order they run.
inline const QString enterCode = QStringLiteral("کد آزمودني را وارد کنيد");
inline const QString enterFirstName = QStringLiteral("نام آزمودني را وارد کنيد");
inline const QString enterLastName = QStringLiteral("نام خانوادگي آزمودني را وارد کنيد");
inline const QString chooseGender = QStringLiteral("جنسيت آزمودني را مشخص کنيد");
inline const QString enterAge = QStringLiteral("سن آزمودني را وارد کنيد");
inline const QString chooseMarital = QStringLiteral("وضعيت تاهل آزمودني را مشخص کنيد");
inline const QString chooseGroup = QStringLiteral("گروه را مشخص کنيد");
inline const QString enterEducation = QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد");

// The code is taken by another subject.
inline const QString codeTaken = QStringLiteral("فردديگري با اين کد ثبت شده");

// Storing the two rows failed; nothing was stored and the panel stays open for another try.
inline const QString storeFailed = QStringLiteral("ثبت اطلاعات آزمودني انجام نشد. لطفا دوباره ذخيره کنيد");

} // namespace RegistrationTexts
