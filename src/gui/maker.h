// SPDX-License-Identifier: MIT
// The maker's names and addresses shown by the windows.
#pragma once

#include <QString>
#include <QStringView>

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

inline QString mainCaption() {
    return QStringLiteral("Quorin文件分割机 Tessark V3.5") + QString(10, u' ') +
           QStringLiteral("作者QQ：") + kContactNumber.toString();
}

}  // namespace tessark::maker
