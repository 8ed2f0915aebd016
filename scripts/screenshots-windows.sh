#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Pictures of the Windows program's main window as wine draws it on a
# virtual X display: docs/windows-window.png at 96 DPI and
# docs/windows-window-144dpi.png at 144 DPI. Builds tessark.exe first and
# runs it in a fresh wine prefix of its own (build/windows/screenshot-prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-tests

cmake --preset windows >/dev/null
cmake --build --preset windows --target tessark

export WINEPREFIX="$PWD/build/windows/screenshot-prefix" WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX" docs
log="$PWD/build/windows/screenshot-wine.log"
: >"$log"
xvfb=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

# shot DPI WIDTHxHEIGHT PICTURE: the window at DPI on a screen of that size.
shot() {
  local dpi=$1 screen=$2 picture=$3
  wineserver -k >/dev/null 2>&1 || true
  [[ -z $xvfb ]] || { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
  # A free display number for the virtual screen.
  local display=90
  while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$display"
  wineserver -p >/dev/null 2>&1 || true
  wine wineboot >>"$log" 2>&1 </dev/null
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >>"$log" 2>&1 </dev/null
  tests/win32/wine_gui_fixture.sh "$WINEPREFIX"  # restarts the server: the DPI holds

  wine build/windows/src/win32/tessark.exe >>"$log" 2>&1 </dev/null &
  # Waits for the main window by its caption (at most a minute).
  for _ in $(seq 1 120); do
    if xwininfo -root -tree 2>/dev/null | grep -q 'Tessark V3.5'; then
      break
    fi
    sleep 0.5
  done
  xwininfo -root -tree | grep -q 'Tessark V3.5' || { echo "no window; see $log" >&2; exit 1; }
  sleep 2  # the first paint and the clock's first tick
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$picture"
  echo "$picture"
}

shot 96 800x600 docs/windows-window.png
shot 144 1100x950 docs/windows-window-144dpi.png
