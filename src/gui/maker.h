// SPDX-License-Identifier: MIT
// The maker's names and addresses shown by the windows.
#pragma once

#include <QString>
#include <QStringView>

#include "version/version.h"

namespace tessark::maker {

inline constexpr QStringView kHost = u"www.quorin.example";
inline constexpr QStringView kStudioAddress = u"www.quorin-studio.example";
inline constexpr QStringView kContactNumber = u"80012345";
inline constexpr QStringView kEmail = u"tessark@quorin.example";

inline QString webSiteUrl() {
    return QStringLiteral("http://") + kHost.toString();
}
inline QString advertisementUrl() {
    return webSiteUrl() + QStringLiteral("/ad/ad_Tessark.html");
}

// "V" and major.minor, as the caption and the About window show it.
inline QString shownVersion() {
    return QString::fromUtf16(version::kShown);
}

inline QString mainCaption() {
    return QStringLiteral("Quorin文件分割机 Tessark ") + shownVersion() + QString(10, u' ') +
           QStringLiteral("作者QQ：") + kContactNumber.toString();
}

}  // namespace tessark::maker
