// SPDX-License-Identifier: MIT
// The styles and answers of the program's message boxes.
#pragma once

namespace tessark::mb {

inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

}  // namespace tessark::mb
