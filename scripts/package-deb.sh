#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package dist/tessark_VERSION_amd64.deb: a release build
# with Debian's hardening flags, packed by CPack (dependencies computed by
# dpkg-shlibdeps), then checked by lintian, which must report no errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-packaging

build=build/deb
# Debian's compiler and linker flags, with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export TESSARK_DEB_CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
export TESSARK_DEB_LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --preset deb >/dev/null
cmake --build --preset deb

rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B cpack >/dev/null)
debs=("$build"/cpack/tessark_*_amd64.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "package-deb.sh: no package built" >&2; exit 1; }
mkdir -p dist
rm -f dist/tessark_*_amd64.deb
cp "${debs[0]}" dist/
deb="dist/$(basename "${debs[0]}")"

# lintian exits non-zero on errors; warnings are printed for a look.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb"
