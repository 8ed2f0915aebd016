#!/bin/sh
# Prepares the wine prefix the Windows engine tests run in, and what only the
# host can make for them: drive T: is a host folder in which "full.bin" and
# "movie$.avi.002" are the host's /dev/full, so that writing to them meets a
# real "disk full"; drive D: is an empty host folder.
#
#   wine_fixture.sh PREFIX FIXTURE_FOLDER
#
# Starts the prefix's wine server and its services if none run. As root, wine
# only honours read-only files when its server cannot override file
# permissions, so the server is started without those capabilities.
set -eu
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

rm -rf "$fixture"
mkdir -p "$fixture/full" "$fixture/d"
ln -s /dev/full "$fixture/full/full.bin"
ln -s /dev/full "$fixture/full/movie\$.avi.002"
ln -sfn "$fixture/full" "$prefix/dosdevices/t:"
ln -sfn "$fixture/d" "$prefix/dosdevices/d:"
