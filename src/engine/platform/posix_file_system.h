// SPDX-License-Identifier: MIT
// The POSIX file system behind makeNativeFileSystem(): UTF-8 file names, every
// failure turned into a RuntimeError with the errno's run-time error number
// (errorNumberForErrno), the path, the action and the errno.
#pragma once

#ifndef _WIN32

#include <memory>
#include <string>

#include "engine/core/file_system.h"
#include "engine/core/text.h"

namespace tessark {

// Link.bat's code set outside Windows: the script only runs on Windows, and
// the systems it is made for read batch files in code page 936 whatever
// the locale the pieces were cut under.
inline constexpr const char* kScriptCodeset = "CP936";

// `text` in the character set `codeset` (an iconv name such as "GBK"), one "?"
// for every character the set cannot hold. Unknown sets fall back to ASCII.
std::string encodeForCodeset(const Text& text, const char* codeset);

// The file system behind makeNativeFileSystem(). With `kernelCopy` false every
// copy goes through FileSystem::transfer's buffer, as it does where the kernel
// refuses to copy; with `unnamedStaging` false staged files are named
// temporary files, as they are where the file system has no unnamed ones.
std::unique_ptr<FileSystem> makePosixFileSystem(bool kernelCopy, bool unnamedStaging = true);

}  // namespace tessark

#endif
