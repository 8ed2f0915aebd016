#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors, and runs
# every test headless: the regular build, the window with an embedded browser,
# the engine under ASan and UBSan, the Debian package's install round trip, the
# engine and the program built for Windows and tested under wine, and the
# Windows installer's round trip under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-tests
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARK_WERROR=ON >/dev/null
cmake --build build/ci
ctest --test-dir build/ci --output-on-failure --timeout 600

cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARK_WERROR=ON \
  -DTESSARK_WEBENGINE=ON -DTESSARK_BUILD_BENCH=OFF >/dev/null
cmake --build build/web --target tessark gui_tests
ctest --test-dir build/web --output-on-failure --timeout 600 -R '^gui\.'

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARK_WERROR=ON \
  -DTESSARK_SANITIZE=ON -DTESSARK_BUILD_GUI=OFF -DTESSARK_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure --timeout 600

scripts/test-deb.sh
scripts/test-windows.sh
scripts/test-windows-package.sh
