#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package's round trip on this machine: builds it (and checks it
# with lintian), installs it with apt-get, starts /usr/bin/tessark offscreen
# and on a virtual X display, where its main window must appear with the
# caption of the packaged version, then removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package-deb.sh
debs=(dist/tessark_*_amd64.deb)
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
# The caption shows "V" and the major.minor of the version.
caption="Quorin文件分割机 Tessark V$(cut -d. -f1-2 <<<"$version")"

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get -y -q -o DPkg::Lock::Timeout=600 "$@"; }
fail() { echo "test-deb.sh: $*" >&2; exit 1; }

apt_get install "./$deb" >/dev/null
trap 'apt_get remove tessark >/dev/null' EXIT
[[ $(dpkg-query -W -f='${Version}' tessark) == "$version" ]] || fail "tessark $version not installed"
for f in /usr/bin/tessark /usr/share/applications/tessark.desktop \
  /usr/share/icons/hicolor/32x32/apps/tessark.png /usr/share/man/man1/tessark.1.gz \
  /usr/share/doc/tessark/copyright; do
  [[ -f $f ]] || fail "$f not installed"
done
[[ $(command -v tessark) == /usr/bin/tessark ]] || fail "tessark is not found on the PATH in /usr/bin"
# The command-line program, where the build has one, tells the same version.
if dpkg -L tessark | grep -qx /usr/bin/tessark-cli; then
  [[ $(tessark-cli --version) == *"$version"* ]] || fail "tessark-cli --version does not tell $version"
fi

log=$(mktemp)
trap 'rm -f "$log"; apt_get remove tessark >/dev/null' EXIT

# Offscreen: it starts and is still running three seconds later (exit 124 is
# timeout's own: the program did not end by itself).
status=0
QT_QPA_PLATFORM=offscreen timeout 3 tessark >"$log" 2>&1 || status=$?
[[ $status -eq 124 ]] || { cat "$log" >&2; fail "tessark ended by itself offscreen (status $status)"; }

# On a virtual X display: its main window is mapped with the expected caption.
# shellcheck disable=SC2016  # expanded by the inner shell
CAPTION="$caption" QT_QPA_PLATFORM=xcb xvfb-run -a bash -c '
  tessark >"$0" 2>&1 & pid=$!
  for _ in $(seq 300); do
    if xwininfo -root -tree | grep -qF "\"$CAPTION "; then
      kill "$pid"; wait "$pid" || true; exit 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  exit 1' "$log" || { cat "$log" >&2; fail "no window captioned \"$caption\" appeared"; }

rm -f "$log"
trap - EXIT
apt_get remove tessark >/dev/null
[[ ! -e /usr/bin/tessark ]] || fail "/usr/bin/tessark is left after the removal"
if dpkg-query -W -f='${Status}' tessark 2>/dev/null | grep -q "install ok installed"; then
  fail "tessark is still installed"
fi
echo "test-deb.sh: $deb installed, started, showed \"$caption\", removed"
