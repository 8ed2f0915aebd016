#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the program and writes pictures of its windows under a virtual X
# display: screenshots/main-start.png, screenshots/main-after-split.png,
# screenshots/about.png and screenshots/folder-picker.png. With --docs, also
# refreshes docs/main-window.png, the picture the README shows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset screenshots >/dev/null
cmake --build --preset screenshots
mkdir -p screenshots
# A clean locale and a plain style, so the pictures look the same on every machine.
LC_ALL=C.UTF-8 QT_QPA_PLATFORMTHEME= QT_STYLE_OVERRIDE=Fusion \
  xvfb-run -a -s "-screen 0 1024x768x24" build/screenshots/tests/gui/gui_screenshots screenshots
if [[ "${1:-}" == "--docs" ]]; then
  cp screenshots/main-after-split.png docs/main-window.png
fi
ls -l screenshots
