#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARK_BUILD_TESTS=OFF \
  -DTESSARK_BUILD_BENCH=OFF >/dev/null
cmake --build build/release
exec build/release/src/tessark/tessark "$@"
