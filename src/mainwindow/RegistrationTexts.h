#pragma once

#include "common/CommonTexts.h"

#include <QString>
#include <QStringList>

// The Persian texts of the registration panel.
namespace RegistrationTexts {

// Captions of the fields.
inline const QString& codeCaption = CommonTexts::codeCaption;
inline const QString& firstNameCaption = CommonTexts::firstNameCaption;
inline const QString& lastNameCaption = CommonTexts::lastNameCaption;
inline const QString& genderCaption = CommonTexts::genderCaption;
inline const QString& ageCaption = CommonTexts::ageCaption;
inline const QString maritalCaption = QStringLiteral(" :تاهل");
inline const QString educationCaption = QStringLiteral(" :تحصيلات");
inline const QString& dateCaption = CommonTexts::dateCaption;
inline const QString& timeCaption = CommonTexts::timeCaption;
inline const QString groupCaption = QStringLiteral(" :گروه");

// Buttons.
inline const QString& save = CommonTexts::save;
inline const QString& cancel = CommonTexts::cancel;

// The items of the three lists.
inline const QStringList genderItems = {CommonTexts::male, CommonTexts::female};
inline const QStringList& maritalItems = CommonTexts::maritalStates;
inline const QStringList groupItems = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                       QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"),
                                       QStringLiteral("G")};

// Hints of the lists (the group list shares the gender list's hint).
inline const QString maritalHint = QStringLiteral("وضعيت تأهل خود را مشخص کنيد");
inline const QString& genderHint = CommonTexts::genderHint;
inline const QString& groupHint = CommonTexts::groupHint;

// Notices of the checks on saving, in the order they run.
inline const QString& enterCode = CommonTexts::enterCode;
inline const QString enterFirstName = QStringLiteral("نام آزمودني را وارد کنيد");
inline const QString enterLastName = QStringLiteral("نام خانوادگي آزمودني را وارد کنيد");
inline const QString chooseGender = QStringLiteral("جنسيت آزمودني را مشخص کنيد");
inline const QString enterAge = QStringLiteral("سن آزمودني را وارد کنيد");
inline const QString chooseMarital = QStringLiteral("وضعيت تاهل آزمودني را مشخص کنيد");
inline const QString chooseGroup = QStringLiteral("گروه را مشخص کنيد");
inline const QString enterEducation = QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد");

inline const QString& codeTaken = CommonTexts::codeTaken;

// Storing the two rows failed; nothing was stored and the panel stays open for another try.
inline const QString storeFailed = QStringLiteral("ثبت اطلاعات آزمودني انجام نشد. لطفا دوباره ذخيره کنيد");

} // namespace RegistrationTexts
