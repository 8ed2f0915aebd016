// SPDX-License-Identifier: MIT
// The one place where POSIX failures become run-time error numbers, chosen by
// what the failure means to the user: a missing file, a missing folder, a
// protected file, a full disk and so on.
#pragma once

namespace tessark {

// `parentMissing` tells a missing file (53) from a missing folder on its way
// (76) when the error is ENOENT.
int errorNumberForErrno(int error, bool parentMissing = false);

}  // namespace tessark
