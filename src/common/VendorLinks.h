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
// What it serves is believed only with a signature by releaseKey beside it (".minisig").
inline const QString updateServer = QStringLiteral("http://update.velmorasoft.ir");
inline const QString updateFolder = QStringLiteral("/Soft/Velmora/");
inline const QString versionFileName = QStringLiteral("LastVersion.txt");
// The installation package of this platform: an installer program on Windows, a Debian package
// for the desktop's package installer elsewhere.
#if defined(Q_OS_WIN)
inline const QString packageName = QStringLiteral("setup-Velmora.exe");
#elif defined(Q_PROCESSOR_ARM_64)
inline const QString packageName = QStringLiteral("velmora_arm64.deb");
#elif defined(Q_PROCESSOR_X86_32)
inline const QString packageName = QStringLiteral("velmora_i386.deb");
#else
inline const QString packageName = QStringLiteral("velmora_amd64.deb");
#endif
inline const QString latestVersionFile = updateServer + updateFolder + versionFileName;
inline const QString installationPackage = updateServer + updateFolder + packageName;

// The vendor's release signing key (minisign, Ed25519; key id FDA7AF0B7D1397F9). Its secret half
// never leaves the vendor's release machine; tools/sign-release.sh signs with it.
inline const QString releaseKey = QStringLiteral("RWT5lxN9C6+n/XtvOsr0foRsoHwXEjqbUcuHeOYM3CuxviXd/t7z82/l");
} // namespace VendorLinks
