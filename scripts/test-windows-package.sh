#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer's round trip under wine, once for all users and once
# for the current user: builds the zip and the installer, installs silently
# (/S) in a fresh wine prefix without a display, checks the installed files,
# Start-menu shortcut, uninstall entry and shell entries ("Open with" for .001,
# the context menu), starts the installed tessark.exe and finds its main
# window by the caption of this version, runs the registered command lines on
# files and finds them in the window, closes it, uninstalls silently and checks
# that everything is gone and that .001's own default program was kept.
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
# The default value of a key (empty when it has none), read from the key
# exported as a .reg file, which is UTF-16 whatever the locale.
default_of() {
  rm -f "$drive_c/value.reg"
  wine_run reg export "$1" 'C:\value.reg' /y || return 0
  iconv -f UTF-16 -t UTF-8 "$drive_c/value.reg" | tr -d '\r' |
    sed -n '/^@="/{s/^@="//;s/"$//;s/\\"/"/g;s/\\\\/\\/g;p;q}'
}
# Runs a registered command line on a file and checks what the window shows.
open_with() {
  local mode=$1 what=$2 command=$3 file=$4
  shift 4
  local shown="$log.$mode.$what"
  LC_ALL=C.UTF-8 timeout 300 wine "$probe" --command "${command//%1/$file}" "$@" >"$shown" \
    2>>"$log" </dev/null || { cat "$shown" >>"$log"; fail "$mode: $what did not open $file"; }
}
classes="Software\\Classes"
progid="$classes\\Tessark.Piece"
context_menu="$classes\\*\\shell\\Tessark.Split"
others_001="Archiver.001"  # what another program made .001 open with
files="$drive_c/shell files"
mkdir -p "$files"
printf 'source' >"$files/影片 ü.avi"
printf 'one' >"$files/m\$.avi.001"
printf 'two' >"$files/m\$.avi.002"
installed_files=(tessark.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe)

for mode in AllUsers CurrentUser; do
  if [[ $mode == AllUsers ]]; then
    hive=HKLM dir="$drive_c/Program Files/Tessark" menu="$drive_c/ProgramData"
  else
    hive=HKCU dir=$(echo "$drive_c"/users/*/AppData/Local)/Programs/Tessark menu="$drive_c/users"
  fi
  echo "== $mode: $dir" >>"$log"
  wine_run reg add "$hive\\$classes\\.001" /ve /d "$others_001" /f ||
    fail "$mode: .001 cannot be given another program"
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

  # "Open with" on a piece brings its set; the context menu takes any file as
  # the source. Neither takes .001 from the program it opens with.
  open_command=$(default_of "$hive\\$progid\\shell\\open\\command")
  [[ $open_command == "\"$(windows_path "$dir")\\tessark.exe\" \"%1\"" ]] ||
    fail "$mode: the open command is '$open_command'"
  wine_run reg query "$hive\\$classes\\.001\\OpenWithProgids" /v Tessark.Piece ||
    fail "$mode: Tessark is not among .001's programs"
  [[ $(default_of "$hive\\$classes\\.001") == "$others_001" ]] ||
    fail "$mode: the installer took over .001"
  [[ $(default_of "$hive\\$context_menu") == "用 Tessark 分割" ]] ||
    fail "$mode: no context-menu entry"
  menu_command=$(default_of "$hive\\$context_menu\\command")
  pieces=$(windows_path "$files")
  open_with "$mode" open "$open_command" "$pieces\\m\$.avi.001" \
    "$pieces\\m\$.avi.001" "$pieces\\m\$.avi.002"
  open_with "$mode" menu "$menu_command" "$pieces\\影片 ü.avi" "$pieces\\影片 ü.avi"

  # The uninstaller runs on from a copy of itself: wait until wine is idle.
  wine_run "$dir/uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller failed"
  timeout 120 wineserver -w || fail "$mode: wine did not become idle after the uninstall"
  [[ ! -e $dir ]] || fail "$mode: $dir is left after the uninstall"
  [[ ! -e $link ]] || fail "$mode: the shortcut is left after the uninstall"
  for key in "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessark" "Software\\Tessark"; do
    ! has_key "$hive\\$key" || fail "$mode: $hive\\$key is left after the uninstall"
  done
  for key in "$progid" "$context_menu" "$classes\\.001\\OpenWithProgids"; do
    ! has_key "$hive\\$key" || fail "$mode: $hive\\$key is left after the uninstall"
  done
  [[ $(default_of "$hive\\$classes\\.001") == "$others_001" ]] ||
    fail "$mode: the uninstaller took .001's own program away"
  wine_run reg delete "$hive\\$classes\\.001" /f || fail "$mode: .001 cannot be reset"
  echo "test-windows-package.sh: $mode: installed, window shown and closed, files opened through the shell entries, uninstalled"
done
