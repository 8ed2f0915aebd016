#!/bin/sh
# SPDX-License-Identifier: MIT
# Prepares the wine prefix made by tests/engine/wine_fixture.sh for windows:
#   - the "null" graphics driver after x11, so windows work without a display;
#   - SimSun, 宋体 and NSimSun drawn with WenQuanYi Micro Hei: wine's own
#     stand-in has no ASCII glyphs (digits and dots become boxes);
#   - wine's marlett.ttf in the prefix's fonts, for the caption buttons.
# Then restarts the prefix's server so that every process reads the settings.
#
#   wine_gui_fixture.sh PREFIX [--x11]   (--x11: under a real X display, with
#                                         windows that wine does not manage)
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

reg="$prefix/tessark-gui.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="x11,null"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for face in SimSun 宋体 NSimSun; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
  done
} | iconv -f UTF-8 -t UTF-16LE | { printf '\377\376'; cat; } >"$reg"
wine reg import "$reg" >/dev/null 2>&1

for marlett in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
  if [ -f "$marlett" ]; then
    cp "$marlett" "$prefix/drive_c/windows/Fonts/marlett.ttf"
    break
  fi
done

WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
if [ "$(id -u)" -eq 0 ]; then
  # As in the engine's fixture: wine honours read-only files only when its
  # server cannot override file permissions.
  setpriv --inh-caps=-dac_override,-dac_read_search \
    --bounding-set=-dac_override,-dac_read_search wineserver -p >/dev/null 2>&1 || true
else
  wineserver -p >/dev/null 2>&1 || true
fi
wine wineboot >/dev/null 2>&1
