#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the benchmark program in release mode and
# runs it. Arguments go to the program: --dir FOLDER to measure on a disk
# instead of in memory, --size, --runs, --buffered (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTESSARK_BUILD_GUI=OFF -DTESSARK_BUILD_TESTS=OFF \
  -DTESSARK_BUILD_BENCH=ON >/dev/null
cmake --build build/bench --target tessark_bench
exec build/bench/bench/tessark_bench "$@"
