#pragma once

#include "CommonTexts.h"

// The release of this program: major and minor version.
namespace AppVersion {
constexpr int kMajor = 2;
constexpr int kMinor = 2;

// "Velmora V: 2.2": the application title, a blank, major "." minor.
inline QString versionLine()
{
    return CommonTexts::applicationTitle + u' ' + QString::number(kMajor) + u'.' + QString::number(kMinor);
}
} // namespace AppVersion
