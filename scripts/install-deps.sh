#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, from Debian's archive, whatever the build and the tests need and the
# machine does not have yet. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  libcli11-dev
  libssl-dev zlib1g-dev
  xvfb xauth fonts-wqy-microhei
)
with_tests=0 with_packaging=0
for option in "$@"; do
  case "$option" in
    --with-tests) with_tests=1 with_packaging=1 ;;  # the tests build and try the packages
    --with-packaging) with_packaging=1 ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done
if ((with_tests)); then
  # coreutils for the engine's round trips; Qt WebEngine for the build that
  # embeds a real browser in the web panel.
  packages+=(coreutils qt6-webengine-dev)
  # The other side of the recovery files' interoperability tests.
  packages+=(par2)
  # The engine's tests built for Windows and run under wine.
  packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64 locales)
  # The Windows window's picture: wine on a virtual display, taken with xwd.
  packages+=(x11-apps x11-utils netpbm)
  # The fuzz targets for the readers of files that come with a set: clang's
  # libFuzzer and sanitizers.
  packages+=(clang libclang-rt-14-dev)
  # The benchmark's copy-on-write rows: a loop-mounted XFS with shared blocks.
  packages+=(xfsprogs)
fi
if ((with_packaging)); then
  # The .deb (CPack needs file and dpkg-shlibdeps), its check, and the window
  # list of the installed program's start under Xvfb.
  packages+=(dpkg-dev file lintian x11-utils)
  # The Windows zip and installer, and the installer's round trip under wine.
  packages+=(zip nsis g++-mingw-w64-x86-64-posix wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
