#!/usr/bin/env bash
# Installs what the project needs (only what is missing), then configures and
# builds it. Sourced by play.sh, test.sh and package.sh. Runs as a user
# (with sudo for missing packages) or as root; either way the build trees
# stay the repository owner's, so the other way of running still works
# afterwards. VEXA_EXTRA_PACKAGES names more packages to install;
# VEXA_SETUP_NO_BUILD=1 stops after installing.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VEXA_BUILD_DIR:-$repo_root/build}

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-noto-cjk xvfb xauth x11-utils xdotool imagemagick
  appstream desktop-file-utils man-db
  # The test of the records' file type builds a MIME database and asks GIO.
  libxml2-utils shared-mime-info libglib2.0-bin
  libavahi-client-dev libminiupnpc-dev libnatpmp-dev
  # The tests of games on the network and of the router's ports run the
  # real daemons in network namespaces.
  avahi-daemon avahi-utils dbus miniupnpd-nftables miniupnpc nftables iproute2 util-linux
  # The online lobby is an XMPP client on libstrophe; its tests run a real
  # prosody (and openssl for the test's own CA).
  libstrophe-dev prosody openssl
  # The lobby password goes to the desktop's secret store (libsecret); its
  # test runs GNOME's keyring daemon on a session bus of its own.
  libsecret-1-dev gnome-keyring libsecret-tools dbus-bin
)
# shellcheck disable=SC2206  # a list of names separated by blanks
packages+=(${VEXA_EXTRA_PACKAGES:-})

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  install=(apt-get install -y -qq --no-install-recommends "${missing[@]}")
  if [ "$(id -u)" -eq 0 ]; then
    sudo_cmd=()
  elif command -v sudo >/dev/null; then
    sudo_cmd=(sudo)
  else
    echo "Missing packages: ${missing[*]}" >&2
    echo "There is no sudo here; as root, run" >&2
    echo "  apt-get update && ${install[*]}" >&2
    echo "and then this script again." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" "${install[@]}"
fi

# Only the packages need root. Run as root for a repository that belongs to
# a user, the calling script starts again as that user: the build trees, the
# test records and the program's records file are then the user's, and a
# later run without sudo can write them.
owner=$(stat -c %u "$repo_root")
if [ "$(id -u)" -eq 0 ] && [ "$owner" -ne 0 ]; then
  cd "$repo_root"
  caller="$repo_root/scripts/$(basename "$0")"
  if owner_name=$(id -nu "$owner" 2>/dev/null); then
    exec runuser -u "$owner_name" -- bash "$caller" "$@"
  fi
  exec setpriv --reuid="$owner" --regid="$(stat -c %g "$repo_root")" --clear-groups \
    bash "$caller" "$@"
fi

if [ "${VEXA_SETUP_NO_BUILD:-}" = 1 ]; then return 0 2>/dev/null || exit 0; fi

# A build tree that a root run made before this rule cannot be written now.
for tree in "$build_dir" "${build_dir}-sanitize"; do
  if [ -e "$tree" ] && [ ! -w "$tree" ]; then
    echo "$tree belongs to $(stat -c %U "$tree"); give it back with" >&2
    echo "  sudo chown -R $(id -un): $tree" >&2
    exit 1
  fi
done

cmake -S "$repo_root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
