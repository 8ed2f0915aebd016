// SPDX-License-Identifier: MIT
// The Win32 headers the windows use, included in one place: the engine's
// MessageBox interface shares its name with a macro of <windows.h>, which is
// removed here so that every file sees the same class.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#undef MessageBox
