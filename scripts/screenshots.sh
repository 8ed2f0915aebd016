#!/usr/bin/env bash
# Renders the windows to PNG files under screenshots/, offscreen (no display
# needed), from the same build as scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARK_WERROR=ON >/dev/null
cmake --build build/ci --target picker_screenshot
build/ci/tests/folderpicker/picker_screenshot screenshots/folder_picker.png
