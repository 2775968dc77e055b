#pragma once

#include "common/CommonTexts.h"

#include <QString>

namespace DatastoreTexts {
// Shown when a database file exists but cannot be read; the file is left as it is.
inline QString unreadableDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» قابل خواندن نيست و برنامه نمي تواند با آن کار کند.\n"
                          "اين فايل تغيير داده نشد. براي بازگرداندن اطلاعات از نسخه پشتيبان استفاده کنيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Shown when a database file has damaged pages; the file is left as it is.
inline QString damagedDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» آسيب ديده است و برنامه نمي تواند با آن کار کند.\n"
                          "اين فايل تغيير داده نشد. لطفا آن را از آخرين نسخه پشتيبان بازگردانيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Shown when another program holds a database file locked; nothing is wrong with the file.
inline QString busyDatabase(const QString& fileName)
{
    return QStringLiteral("فايل اطلاعات «%1» در حال استفاده برنامه ديگري است.\n"
                          "اين فايل سالم است و تغيير داده نشد. لطفا برنامه ديگر را ببنديد و دوباره برنامه را "
                          "اجرا کنيد.\n"
                          "برنامه بسته مي شود.")
        .arg(fileName);
}

// Server.ini, the clinic server settings of the program folder.
inline QString serverSettingsNotWritten(const QString& reason)
{
    return QStringLiteral("تنظيمات سرور در فايل Server.ini ذخيره نشد.\n%1").arg(reason);
}
inline const QString serverSettingsLineBreak =
    QStringLiteral("نام سرور، نام پايگاه داده و نام کاربر نمي توانند چند خطي باشند.");

// The theme chooser.
inline const QString chosenThemeNumber = QStringLiteral("شماره تم انتخاب شده");
inline const QString& next = CommonTexts::next;
inline const QString& previous = CommonTexts::previous;
inline const QString& close = CommonTexts::exitCaption;
} // namespace DatastoreTexts
