#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (the `fuzz` preset: clang, ASan, UBSan) and runs
# each for a bounded time, seeded with real files of each kind made here by
# the system's own tools. A crash, a sanitizer report or a leak fails the run
# and leaves the input that caused it in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${TESSARK_FUZZ_SECONDS:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

work=build/fuzz/work
rm -rf "$work"
mkdir -p "$work/set" build/fuzz/findings
(
  cd "$work/set"
  head -c 70000 /dev/urandom >'m o$.bin.001'
  head -c 70000 /dev/urandom >'测试.bin.002'
  head -c 1234 /dev/urandom >'back\slash.003'
  sha256sum -- * >../m.sha256
)
mkdir -p "$work/par2"
(
  # The pieces the fuzz target puts beside the recovery file it is given.
  cd "$work/par2"
  head -c 4096 /dev/zero | tr '\0' a >m.001
  head -c 4096 /dev/zero | tr '\0' b >m.002
  head -c 1000 /dev/zero | tr '\0' c >m.003
  par2 create -q -q -s4096 -c2 m.par2 m.001 m.002 m.003 >/dev/null
  par2 create -q -q -s1024 -c3 -n1 other.par2 m.001 m.002 m.003 >/dev/null
)

run() {
  local name=$1 pattern=$2
  local corpus="$work/corpus-$name"
  mkdir -p "$corpus"
  cp $pattern "$corpus"/
  echo "fuzz: $name for ${seconds} s"
  "build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/findings/ -print_final_stats=0 "$corpus" 2>"$work/$name.log" ||
    { tail -n 40 "$work/$name.log" >&2; exit 1; }
  tail -n 1 "$work/$name.log"
}
run checksum_reader "$work/m.sha256"
run par2_reader "$work/par2/*.par2"
