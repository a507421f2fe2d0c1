#!/usr/bin/env bash
# Builds the Debian package (vexa_VERSION-REVISION_ARCH.deb) and checks it
# with lintian: a build of its own with Debian's hardening flags, the
# programs in /usr/games as Debian keeps games, made by CPack. Installs what
# it needs when missing (as setup.sh does, with dpkg-dev and lintian).
#
#   scripts/package.sh [BUILD_DIR] [OUT_DIR]   (defaults: build-deb, the repository)
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build-deb}
out=${2:-$repo_root}
case $build in /*) ;; *) build=$repo_root/$build ;; esac
mkdir -p "$out"
out=$(cd "$out" && pwd)

VEXA_EXTRA_PACKAGES="dpkg-dev lintian" VEXA_SETUP_NO_BUILD=1 source "$repo_root/scripts/setup.sh"

# Debian's compiler and linker flags (fortify, stack protector, relro, now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_INSTALL_BINDIR=games -DBUILD_TESTING=OFF -DVEXA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"

rm -f "$build"/vexa_*.deb
(cd "$build" && umask 022 && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vexa_*.deb)
cp "$deb" "$out/"
deb=$out/$(basename "$deb")
echo "built $deb"
dpkg-deb --field "$deb" Package Version Architecture Section Depends

# Errors fail the script; the warnings left are told in the README.
echo "--- lintian"
lintian --display-info "$deb" || { echo "lintian found errors" >&2; exit 1; }
echo "lintian: no errors"
