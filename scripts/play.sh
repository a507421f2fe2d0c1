#!/usr/bin/env bash
# Sets everything up, builds, and starts the game.
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

source "$repo_root/scripts/setup.sh"

if [ -x "$repo_root/build/app/vexa" ]; then
  exec "$repo_root/build/app/vexa"
fi
echo "The game's window is not built yet; the rules and the analysis tool are:"
echo "  $repo_root/build/tools/vexa-analyze"
