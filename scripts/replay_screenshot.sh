#!/usr/bin/env bash
# Makes docs/replay.png: the program under Xvfb opens a game record written
# by vexa-analyze's self-play, steps back a few placements and shows the
# replay with the marks of each side's latest turn.
#
#   scripts/replay_screenshot.sh [BUILD_DIR]        (default: build; builds nothing)
#
# Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$repo_root/$build ;; esac
out=$repo_root/docs/replay.png

[ -x "$build/app/vexa" ] || { echo "no program at $build/app/vexa; build it first" >&2; exit 1; }
for tool in Xvfb xdotool xdpyinfo import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid="" vexa_pid=""
cleanup() {
  [ -z "$vexa_pid" ] || kill "$vexa_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp "$build/app/vexa" "$work/vexa"
printf 'Taro\r\n 12 \r\n 7 \r\n 4 \r\n' > "$work/Config"
"$build/tools/vexa-analyze" selfplay VeryHard Hard --games 1 --seed 3 --records "$work/records" \
  >/dev/null
record=$work/records/game-00000001.txt

source "$repo_root/scripts/xvfb.sh"
start_xvfb 171

XDG_DATA_HOME=$work/data "$work/vexa" >"$work/vexa.log" 2>&1 &
vexa_pid=$!
window=$(wait_for_window '^Vexa with Online Ver1\.2$') ||
  { echo "the program's window did not appear" >&2; cat "$work/vexa.log" >&2; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$window"
# ゲーム > 棋譜を開く (Ctrl+O), the record's path in the file dialog.
xdotool key --window "$window" ctrl+o
sleep 1
xdotool type --delay 10 "$record"
xdotool key Return
sleep 1
xdotool windowfocus --sync "$window"
# Three placements back from the end.
for _ in 1 2 3; do xdotool key --window "$window" Left; sleep 0.2; done
xdotool mousemove 1000 760
sleep 0.5
kill -0 "$vexa_pid" 2>/dev/null || { echo "the program exited" >&2; cat "$work/vexa.log" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
import -window "$window" "png:$work/replay.png"
mv "$work/replay.png" "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
