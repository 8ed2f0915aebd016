#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer's round trip under wine, once for all users and once
# for the current user: builds the zip and the installer, installs silently
# (/S) in a fresh wine prefix without a display, checks the installed files,
# Start-menu shortcut and uninstall entry, starts the installed tessark.exe and
# finds its main window by the caption of this version, closes it, uninstalls
# silently and checks that everything is gone.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package-windows.sh >/dev/null

build=build/windows-release
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup="$PWD/dist/tessark-$version-setup-x64.exe"
probe="$PWD/$build/packaging/windows/tessark_window_probe.exe"
shortcut="Quorin文件分割机 Tessark.lnk"
log="$PWD/$build/installer-test.log"

export WINEPREFIX="$PWD/$build/installer-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
fail() {
  echo "test-windows-package.sh: $*" >&2
  echo "--- wine log ($log):" >&2
  tail -20 "$log" >&2
  exit 1
}
# Wine's output always goes to the log, never into a pipe: its services
# inherit it and would keep a pipe open.
wine_run() { timeout 300 wine "$@" >>"$log" 2>&1 </dev/null; }

wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX" "$log"*
mkdir -p "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine_run wineboot -i || fail "the wine prefix cannot be created"
# No display: wine falls back to its null graphics driver.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="x11,null"\n' \
  >"$WINEPREFIX/drive_c/no-display.reg"
wine_run reg import 'C:\no-display.reg' || fail "the registry cannot be set"
# The server and the services start again with the setting.
wineserver -k >/dev/null 2>&1 || true
timeout 60 wineserver -w || true

drive_c="$WINEPREFIX/drive_c"
windows_path() { local rel=${1#"$drive_c"}; printf 'C:%s' "${rel//\//\\}"; }
# Registry keys: reg query exits 0 when the key exists.
has_key() { wine_run reg query "$1"; }
installed_files=(tessark.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe)

for mode in AllUsers CurrentUser; do
  if [[ $mode == AllUsers ]]; then
    hive=HKLM dir="$drive_c/Program Files/Tessark" menu="$drive_c/ProgramData"
  else
    hive=HKCU dir=$(echo "$drive_c"/users/*/AppData/Local)/Programs/Tessark menu="$drive_c/users"
  fi
  echo "== $mode: $dir" >>"$log"
  wine_run "$setup" /S "/$mode" || fail "$mode: the installer failed"
  for f in "${installed_files[@]}"; do
    [[ -f $dir/$f ]] || fail "$mode: $dir/$f not installed"
  done
  link=$(find "$menu" -path '*/Start Menu/Programs/*' -name "$shortcut" -print -quit)
  [[ -n $link ]] || fail "$mode: no Start-menu shortcut under $menu"
  has_key "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessark" ||
    fail "$mode: no uninstall entry in $hive"

  # The probe prints the caption it found.
  caption="$log.$mode.caption"
  timeout 300 wine "$probe" "$(windows_path "$dir/tessark.exe")" >"$caption" 2>>"$log" </dev/null ||
    fail "$mode: the installed tessark.exe did not show its window and end when closed"
  grep -qF "Quorin文件分割机 Tessark V$(cut -d. -f1-2 <<<"$version") " "$caption" ||
    fail "$mode: the caption found is not this version's"

  # The uninstaller runs on from a copy of itself: wait until wine is idle.
  wine_run "$dir/uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller failed"
  timeout 120 wineserver -w || fail "$mode: wine did not become idle after the uninstall"
  [[ ! -e $dir ]] || fail "$mode: $dir is left after the uninstall"
  [[ ! -e $link ]] || fail "$mode: the shortcut is left after the uninstall"
  for key in "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessark" "Software\\Tessark"; do
    ! has_key "$hive\\$key" || fail "$mode: $hive\\$key is left after the uninstall"
  done
  echo "test-windows-package.sh: $mode: installed, window shown and closed, uninstalled"
done
