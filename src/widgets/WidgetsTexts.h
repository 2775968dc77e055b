#pragma once

#include "common/CommonTexts.h"

#include <QString>

// The Persian texts of the theme chooser.
namespace WidgetsTexts {
inline const QString chosenThemeNumber = QStringLiteral("شماره تم انتخاب شده");
inline const QString& next = CommonTexts::next;
inline const QString& previous = CommonTexts::previous;
inline const QString& close = CommonTexts::exitCaption;
// The chosen skin is shown but could not be kept for the next start.
inline const QString themeChoiceNotSaved = QStringLiteral("شماره پوسته انتخاب شده ذخيره نشد");
} // namespace WidgetsTexts
