#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 root, as a new user's
# machine would get it, and runs it there: apt resolves its dependencies
# from Debian's mirror, then vexa and vexa-analyze answer --version and
# --help and vexa, without a display, says so. Run by hand, as root; needs
# debootstrap and the network to Debian's mirror.
#
#   scripts/install_check.sh PACKAGE.deb [ROOT_DIR]   (default: build-chroot/root)
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deb=$(realpath "$1")
root=${2:-$repo_root/build-chroot/root}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ ! -x "$root/usr/bin/apt" ]; then
  echo "--- debootstrap bookworm into $root"
  mkdir -p "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT

in_root() { echo "# $*"; chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
in_root cat /etc/debian_version
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" |
  grep -E '^(The following NEW|[0-9]+ upgraded|Setting up vexa)'
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' vexa
in_root /usr/games/vexa --version
in_root /usr/games/vexa --help
in_root /usr/games/vexa-analyze --version
set +e
in_root /usr/games/vexa
echo "exit status $?"
set -e
in_root sh -c 'ls /usr/share/man/man6/ /usr/share/metainfo/ /usr/share/icons/hicolor/*/apps/vexa.png'
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq man-db >/dev/null
in_root sh -c 'MANWIDTH=80 man -P cat 6 vexa | head -n 8'
in_root sh -c 'MANWIDTH=80 man -P cat 6 vexa-analyze | head -n 4'
