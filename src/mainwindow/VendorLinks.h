#pragma once

#include <QString>

// The vendor's addresses: the host names live here and nowhere else.
namespace VendorLinks {
inline const QString webSite = QStringLiteral("https://www.velmorasoft.ir");
inline const QString shop = QStringLiteral("https://shop.velmorasoft.ir");
inline const QString telegramChannel = QStringLiteral("https://t.me/velmorasoft");
inline const QString telegramHandle = QStringLiteral("@velmorasoft");

inline const QString helpPage = webSite + QStringLiteral("/software/psychological/velmora.html");
inline const QString programList = webSite + QStringLiteral("/Soft/soft-list2.pdf");
} // namespace VendorLinks
