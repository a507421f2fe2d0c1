#!/usr/bin/env bash
# Sets everything up, builds, and starts the game.
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The game is a window; without a graphical session Qt would only abort.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "The game needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  exit 1
fi

source "$repo_root/scripts/setup.sh"

if [ -x "$repo_root/build/app/vexa" ]; then
  exec "$repo_root/build/app/vexa"
fi
echo "The game's window is not built yet; the rules and the analysis tool are:"
echo "  $repo_root/build/tools/vexa-analyze"
