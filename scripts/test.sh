#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors, and runs
# every test headless: the regular build, the window with an embedded browser,
# the engine under ASan and UBSan, the readers of files that come with a set
# under a fuzzer, the Debian package's install round trip, the engine and the
# program built for Windows and tested under wine, and the Windows installer's
# round trip under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-tests
export QT_QPA_PLATFORM=offscreen

# The Linux configurations are the presets of CMakePresets.json.
for preset in ci web asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The readers of files that arrive with a set, fuzzed for a bounded time.
scripts/fuzz.sh
scripts/test-deb.sh
scripts/test-windows.sh
scripts/test-windows-package.sh
