// SPDX-License-Identifier: MIT
// The maker's names and addresses and the version the windows show, with the
// texts built from them. The one place these values live.
#pragma once

#include "engine/core/text.h"
#include "version/version.h"

namespace tessark::design::maker {

inline constexpr TextView kHost = u"www.quorin.example";
inline constexpr TextView kStudioAddress = u"qs.example";
inline constexpr TextView kContactNumber = u"80012345";
inline constexpr TextView kEmail = u"tessark@quorin.example";
// "V" and major.minor of the version set in the top CMakeLists.txt.
inline constexpr TextView kVersion = version::kShown;

inline Text webSiteUrl() {
    return Text(u"http://") + Text(kHost);
}
inline Text advertisementUrl() {
    return webSiteUrl() + u"/ad/ad_Tessark.html";
}

// The main window's caption: product and version, ten blanks, the contact.
inline Text mainCaption() {
    return Text(u"Quorin文件分割机 Tessark ") + Text(kVersion) + Text(10, u' ') + u"作者QQ：" +
           Text(kContactNumber);
}

}  // namespace tessark::design::maker
