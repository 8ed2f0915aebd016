#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows release into dist/: tessark-VERSION-windows-x64.zip
# (tessark.exe, a read-me and the licences) and the installer
# tessark-VERSION-setup-x64.exe, from an optimised, stripped cross build
# (preset windows-release, folder build/windows-release).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-packaging

build=build/windows-release
cmake --preset windows-release >/dev/null
cmake --build --preset windows-release --target package_windows tessark_window_probe
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
out="$build/packaging/windows"
zip="tessark-$version-windows-x64.zip"
setup="tessark-$version-setup-x64.exe"
[[ -f $out/$zip && -f $out/$setup ]] || { echo "package-windows.sh: $zip or $setup missing" >&2; exit 1; }

mkdir -p dist
rm -f dist/tessark-*-windows-x64.zip dist/tessark-*-setup-x64.exe
cp "$out/$zip" "$out/$setup" dist/
echo "dist/$zip"
echo "dist/$setup"
