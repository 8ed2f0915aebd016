#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the engine, the Windows program, tessark-cli and their tests for
# 64-bit Windows with mingw-w64 and runs them under wine: the Win32 file system
# on real wine drives, Link.bat run by wine's own command processor,
# tessark-cli.exe run as a process, and the windows with real controls
# (tests/win32/wine_gui_fixture.sh prepares the prefix). Installs what is missing and stops with an
# error when a tool is still missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-tests

missing=()
for tool in x86_64-w64-mingw32-g++-posix wine wineserver localedef setpriv cmake ninja; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[[ -f /usr/src/googletest/CMakeLists.txt ]] || missing+=("/usr/src/googletest (package googletest)")
if ((${#missing[@]})); then
  echo "test-windows.sh: missing: ${missing[*]}" >&2
  exit 1
fi

# Link.bat is written in the system's ANSI code page; wine takes it from the
# locale, and zh_CN.UTF-8 gives GBK (code page 936).
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

build=build/windows
cmake --preset windows >/dev/null

# A fresh wine prefix in the build folder for every run.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
# Starts wine's server (persistent, output to /dev/null, as root without the
# capabilities that would let it ignore read-only files), creates the prefix
# and the test drives. A server started by a test instead would keep ctest
# waiting for it. Stopped again, and the small test drive unmounted, on exit.
fixture="$PWD/$build/tests/engine/wine-fixture"
trap 'tests/engine/wine_fixture.sh --stop "$WINEPREFIX" "$fixture"' EXIT
tests/engine/wine_fixture.sh "$WINEPREFIX" "$fixture"

cmake --build --preset windows
ctest --preset windows --timeout 900
