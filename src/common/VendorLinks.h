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

// The update server is reached over plain HTTP: the updater only accepts "http://" addresses.
inline const QString updateServer = QStringLiteral("http://update.velmorasoft.ir");
inline const QString latestVersionFile = updateServer + QStringLiteral("/Soft/Velmora/LastVersion.txt");
inline const QString installationPackage = updateServer + QStringLiteral("/Soft/Velmora/setup-Velmora.exe");
} // namespace VendorLinks
