// SPDX-License-Identifier: MIT
// The names Windows gives to devices rather than files, whatever folder they
// seem to be in: a piece, an output or a split target by such a name would
// write to, or read from, a console, a port or the null device.
#pragma once

#include "engine/core/text.h"

namespace tessark {

// Whether Windows opens a device for `path`: a name in the device namespaces
// ("\\.\anything", "\\?\GLOBALROOT\..."), or a last part that is a reserved
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, the same with
// the superscript digits 1 to 3, CONIN$, CONOUT$) in any case, with any
// extension, trailing blanks or a colon ("nul.001", "Con .txt", "com1:").
// A "\\?\" path takes its last part literally, so there it is a file name.
bool namesWindowsDevice(TextView path);

}  // namespace tessark
