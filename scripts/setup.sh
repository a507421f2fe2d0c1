#!/usr/bin/env bash
# Installs what the project needs (only what is missing), then configures and
# builds it. Sourced by play.sh, test.sh and package.sh; runs as root or
# through sudo. VEXA_EXTRA_PACKAGES names more packages to install;
# VEXA_SETUP_NO_BUILD=1 stops after installing.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VEXA_BUILD_DIR:-$repo_root/build}

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-noto-cjk xvfb xauth x11-utils xdotool imagemagick
  appstream desktop-file-utils man-db
)
# shellcheck disable=SC2206  # a list of names separated by blanks
packages+=(${VEXA_EXTRA_PACKAGES:-})

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

if [ "${VEXA_SETUP_NO_BUILD:-}" = 1 ]; then return 0 2>/dev/null || exit 0; fi
cmake -S "$repo_root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
