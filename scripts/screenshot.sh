#!/usr/bin/env bash
# Refreshes the README's pictures: runs the built program under Xvfb in a
# folder of its own, starts a "VS Human" game, plays a few moves by clicking
# the board and saves a picture of the program's window alone
# (docs/screenshot.png); then opens a game record written by vexa-analyze's
# self-play, steps back three placements and saves the replay with the marks
# of each side's latest turn (docs/replay.png); then analyses that game and
# saves the graph under the board with a marked turn on show
# (docs/analysis.png).
#
#   scripts/screenshot.sh [BUILD_DIR]        (default: build; builds nothing)
#
# With VEXA_SHAPES=1 the program shows shapes as well as colours and only
# the first picture is made, as docs/screenshot-shapes.png.
#
# The program shows its Japanese texts; VEXA_LANGUAGE=en shows the English
# ones instead and writes the pictures to VEXA_PICTURES (default /tmp/vexa-en)
# rather than over the README's.
#
# Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$repo_root/$build ;; esac
shapes=${VEXA_SHAPES:-0}
language=${VEXA_LANGUAGE:-ja}
pictures=$repo_root/docs
[ "$language" = ja ] || pictures=${VEXA_PICTURES:-/tmp/vexa-$language}
mkdir -p "$pictures"
out=$pictures/screenshot.png
[ "$shapes" = 1 ] && out=$pictures/screenshot-shapes.png

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

# The program folder: the program and a records file (name, games played,
# won, lost; CR LF line ends).
cp "$build/app/vexa" "$work/vexa"
printf 'Taro\r\n 12 \r\n 7 \r\n 4 \r\n' > "$work/Config"

if [ "$shapes" = 1 ]; then
  mkdir -p "$work/config/vexa"
  printf '[General]\nshapes=true\n' >"$work/config/vexa/vexa.ini"
fi

source "$repo_root/scripts/xvfb.sh"
start_xvfb 170

# Preferences and data of its own: the language the user chose does not
# reach it, and its records of games stay in the work folder.
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$work/vexa" --language "$language" \
  >"$work/vexa.log" 2>&1 &
vexa_pid=$!
window=$(wait_for_window '^Vexa with Online Ver1\.2$') ||
  { echo "the program's window did not appear" >&2; cat "$work/vexa.log" >&2; exit 1; }
sleep 0.5  # let the first paint settle before the first click
xdotool windowfocus --sync "$window"

click_at() {  # click_at X_TWIPS Y_TWIPS BUTTON
  point_at_twips "$window" "$1" "$2"
  xdotool click "$3"
  sleep 0.2
}
# A board cell (index = row * 11 + column) by its centre; button 1 places a
# piece, button 3 (the right one) a blocker.
click_cell() { click_at "$(cell_x "$1")" "$(cell_y "$1")" "$2"; }

# "VS Human" (Option1_1: the mode panel at 7485,15, the button 120,1560 in it,
# 1140 x 225), then ゲーム > 新規ゲーム.
click_at $(( 7485 + 120 + 300 )) $(( 15 + 1560 + 112 )) 1
xdotool key --window "$window" alt+g; sleep 0.3
xdotool key n; sleep 0.5

# Player1 (red) moves first; Player2 (blue) answers. No four of a side make
# a square, so the game goes on.
piece=1 blocker=3
click_cell 60 $piece   # red
click_cell 50 $piece   # blue
click_cell 48 $piece   # red
click_cell 46 $blocker # blue's blocker
click_cell 72 $piece   # blue
click_cell 62 $piece   # red
click_cell 38 $piece   # blue
click_cell 82 $blocker # red's blocker
click_cell 58 $piece   # red
click_cell 70 $piece   # blue
click_cell 26 $piece   # red
click_cell 84 $piece   # blue

# Move the pointer off the window so no control shows a hover state.
xdotool mousemove 1000 760
sleep 0.5
kill -0 "$vexa_pid" 2>/dev/null || { echo "the program exited" >&2; cat "$work/vexa.log" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
import -window "$window" "png:$work/screenshot.png"
mv "$work/screenshot.png" "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
[ "$shapes" = 1 ] && exit 0

# The replay: このゲームを終了 (Alt+G, E), then ゲーム > 棋譜を開く (Ctrl+O)
# with the record's path typed into the file dialog.
"$build/tools/vexa-analyze" selfplay VeryHard Hard --games 1 --seed 3 --records "$work/records" \
  >/dev/null
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+g; sleep 0.3
xdotool key e; sleep 0.5
xdotool key --window "$window" ctrl+o; sleep 1
xdotool type --delay 10 "$work/records/game-00000001.txt"
xdotool key Return; sleep 1
xdotool windowfocus --sync "$window"
for _ in 1 2 3; do xdotool key --window "$window" Left; sleep 0.2; done
xdotool mousemove 1000 760
sleep 0.5
replay=$pictures/replay.png
import -window "$window" "png:$work/replay.png"
mv "$work/replay.png" "$replay"
echo "wrote $replay ($(identify -format '%wx%h' "$replay"))"

# The analysis: ゲーム > 棋譜を解析 (Alt+G, A) on the replay. When every turn
# is weighed (a few seconds), the graph lies under the board; Home and four
# steps show the fourth turn, a "??", with its chances in the status line
# and the best turn ringed.
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+g; sleep 0.3
xdotool key a
sleep 20
xdotool windowfocus --sync "$window"
xdotool key --window "$window" Home; sleep 0.2
for _ in 1 2 3 4; do xdotool key --window "$window" Right; sleep 0.2; done
xdotool mousemove 1000 760
sleep 0.5
analysis=$pictures/analysis.png
import -window "$window" "png:$work/analysis.png"
mv "$work/analysis.png" "$analysis"
echo "wrote $analysis ($(identify -format '%wx%h' "$analysis"))"

# The lobby window (docs/lobby.png and docs/lobby-en.png, both languages at
# once) needs a real lobby: prosody in network namespaces of its own, with
# two vexa-bots hosting. That takes root; elsewhere the pictures are kept.
if [ "$language" = ja ] && [ "$shapes" != 1 ]; then
  if [ "$(id -u)" -eq 0 ] && [ -x "$build/bot/vexa-bot" ] &&
    [ -x "$build/app/tests/vexa_outreach_probe" ]; then
    bash "$repo_root/lobby/tests/lobby_namespace_test.sh" "$build/bot/vexa-bot" picture \
      "$build/app/tests/vexa_outreach_probe" "$pictures" ||
      echo "the lobby's pictures were not made (see above)" >&2
  else
    echo "the lobby's pictures need root and the built vexa-bot and vexa_outreach_probe; kept" >&2
  fi
fi
