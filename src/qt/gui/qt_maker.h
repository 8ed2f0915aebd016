// SPDX-License-Identifier: MIT
// The maker's addresses and the main window's caption as Qt strings.
#pragma once

#include <QString>

#include "design/maker.h"

namespace tessark::maker {

inline QString webSiteUrl() {
    return QString::fromStdU16String(design::maker::webSiteUrl());
}
inline QString advertisementUrl() {
    return QString::fromStdU16String(design::maker::advertisementUrl());
}
inline QString mainCaption() {
    return QString::fromStdU16String(design::maker::mainCaption());
}

}  // namespace tessark::maker
