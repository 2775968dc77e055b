#pragma once

#include <QString>

// The application's own texts.
namespace AppTexts {

// %1 the module's file name, %2 the loader's reason.
inline const QString moduleMissing =
    QStringLiteral("اين بخش برنامه باز نشد: پرونده %1 پيدا نشد يا خراب است. برنامه را دوباره نصب کنيد.\n%2");

} // namespace AppTexts
