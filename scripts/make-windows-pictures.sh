#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Draws the Windows program's pictures (.ico) with the Linux window's drawing
# code and writes them into src/win32/pictures, where the Windows build takes
# them from (it cannot run Qt itself). Run after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset ci >/dev/null
cmake --build --preset ci --target make_windows_pictures
mkdir -p src/win32/pictures
QT_QPA_PLATFORM=offscreen build/ci/src/desktop/make_windows_pictures src/win32/pictures
ls src/win32/pictures
