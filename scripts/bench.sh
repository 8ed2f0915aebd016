#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the benchmark program in release mode and
# runs it. Arguments go to the program: --dir FOLDER to measure on a disk
# instead of in memory, --size, --runs, --buffered (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
exec build/bench/bench/tessark_bench "$@"
