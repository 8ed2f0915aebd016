#!/bin/sh
# SPDX-License-Identifier: MIT
# Prepares the wine prefix the Windows engine tests run in, and what only the
# host can make for them:
#   T:  a host folder in which "full.bin" and "movie$.avi.002" are the host's
#       /dev/full, so that writing to them meets a real "disk full";
#   D:  an empty host folder;
#   L:  a host folder whose "film.avi" is a host symbolic link to
#       "real/film.avi", which Windows programs cannot tell from a file;
#   S:  a 256 KiB file system, where a large write is cut short before the
#       disk is full; only where mounting is allowed (as root).
#
#   wine_fixture.sh PREFIX FIXTURE_FOLDER          prepare
#   wine_fixture.sh --stop PREFIX FIXTURE_FOLDER   stop wine, unmount S:
#
# Starts the prefix's wine server and its services if none run. As root, wine
# only honours read-only files when its server cannot override file
# permissions, so the server is started without those capabilities.
set -eu
if [ "$1" = "--stop" ]; then
  WINEPREFIX="$2" wineserver -k 2>/dev/null || true
  if mountpoint -q "$3/tiny" 2>/dev/null; then
    umount "$3/tiny"
  fi
  exit 0
fi
prefix=$1
fixture=$2

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"

if [ "$(id -u)" -eq 0 ]; then
  setpriv --inh-caps=-dac_override,-dac_read_search \
    --bounding-set=-dac_override,-dac_read_search wineserver -p >/dev/null 2>&1 || true  # 2: one already runs
else
  wineserver -p >/dev/null 2>&1 || true  # 2: one already runs
fi
# Creates the prefix if needed and starts its services now, with their output
# going nowhere: services started by the first test would inherit ctest's
# output pipe and, living on with the persistent server, keep ctest waiting.
wine wineboot >/dev/null 2>&1

tiny="$fixture/tiny"
if mountpoint -q "$tiny" 2>/dev/null; then
  umount "$tiny"
fi
rm -rf "$fixture"
rm -f "$prefix/dosdevices/s:"
mkdir -p "$fixture/full" "$fixture/d" "$fixture/links/real" "$tiny"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=256k tessark-tiny "$tiny" 2>/dev/null; then
  ln -sfn "$tiny" "$prefix/dosdevices/s:"
fi
ln -s /dev/full "$fixture/full/full.bin"
ln -s /dev/full "$fixture/full/movie\$.avi.002"
ln -sfn "$fixture/full" "$prefix/dosdevices/t:"
ln -sfn "$fixture/d" "$prefix/dosdevices/d:"
ln -s real/film.avi "$fixture/links/film.avi"
ln -sfn "$fixture/links" "$prefix/dosdevices/l:"
