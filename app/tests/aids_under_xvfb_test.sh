#!/usr/bin/env bash
# The player aids in the real window under Xvfb: a "VS Human" game played by
# clicks with a blocker taken back by Ctrl+Z, its record saved through the
# file dialog (Ctrl+S) and opened again from the command line, and the
# replay stepped from its end to its start, read off the window's pixels.
set -u
program=$1
for tool in Xvfb xdotool xdpyinfo import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid="" vexa_pid=""
trap '[ -z "$vexa_pid" ] || kill "$vexa_pid" 2>/dev/null; [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/vexa.log" 2>/dev/null; exit 1; }

cp "$program" "$work/vexa"
printf 'Taro\r\n 0 \r\n 0 \r\n 0 \r\n' > "$work/Config"

source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 120 || exit 1

LANGUAGE=ja XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data "$work/vexa" >"$work/vexa.log" 2>&1 &
vexa_pid=$!
window=$(wait_for_window '^Vexa with Online Ver1\.2$' 20) || fail "no main window"
xdotool windowfocus --sync "$window" 2>/dev/null

click_at() { point_at_twips "$window" "$1" "$2"; xdotool click "$3"; }
click_cell() { click_at "$(cell_x "$1")" "$(cell_y "$1")" "$2"; }
# The colour of a cell a few pixels left of its centre (the dot of the
# latest turn sits in the centre).
cell_colour() {
  local height top
  height=$(xdotool getwindowgeometry --shell "$window" | awk -F= '/HEIGHT/ {print $2}')
  top=$(( height - 485 - 22 ))
  import -window "$window" "$work/shot.png" 2>/dev/null
  convert "$work/shot.png" -crop "1x1+$(( $(cell_x "$1") / 15 - 8 ))+$(( top + $(cell_y "$1") / 15 ))" \
    txt:- 2>/dev/null | tail -n 1 | grep -o '#[0-9A-F]\{6\}'
}
wait_for_colour() {  # CELL COLOUR WHAT
  for _ in $(seq 300); do
    [ "$(cell_colour "$1")" = "$2" ] && return 0
    sleep 0.05
  done
  fail "$3: cell $1 is $(cell_colour "$1"), not $2"
}
# "VS Human", then ゲーム > 新規ゲーム.
click_at $(( 7485 + 120 + 300 )) $(( 15 + 1560 + 112 )) 1
# The menu's own window before its key: a key sent before it opens is lost.
shown() { xdotool search --onlyvisible --pid "$vexa_pid" 2>/dev/null | sort; }
before=$(shown)
xdotool key --window "$window" alt+g
for _ in $(seq 400); do [ "$(shown)" != "$before" ] && break; sleep 0.05; done
[ "$(shown)" != "$before" ] || fail "the game menu did not open"
xdotool key n
red='#FF0000' white='#FFFFFF' black='#000000'
click_cell 12 1; wait_for_colour 12 "$red" "Player1's piece"
click_cell 50 1; click_cell 13 1; click_cell 51 1
click_cell 34 3; wait_for_colour 34 "$white" "Player1's blocker"
xdotool key --window "$window" ctrl+z; wait_for_colour 34 "$black" "the undone blocker"
click_cell 23 1; click_cell 52 1; click_cell 24 1
result=$(wait_for_window '^Vexa with Online$' 10) || fail "no result dialog"
xdotool windowfocus --sync "$result" 2>/dev/null; xdotool key Return
for _ in $(seq 100); do xdotool search --onlyvisible --name '^Vexa with Online$' >/dev/null || break; sleep 0.05; done

# Saved through Ctrl+S: the dialog offers the games folder and a name, so
# Return is all it takes. A key sent while the dialog is still settling can
# be lost: Return again until the file is there.
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --window "$window" ctrl+s
dialog=$(wait_for_window '棋譜を保存' 20) || fail "no save dialog"
saved=""
for _ in $(seq 10); do
  xdotool windowfocus --sync "$dialog" 2>/dev/null; xdotool key Return
  for _ in $(seq 40); do
    saved=$(find "$work/data" -name 'vexa-*.txt' | head -n 1)
    [ -n "$saved" ] && break 2
    sleep 0.05
  done
done
[ -n "$saved" ] || fail "no record saved in the games folder"
expected=$'1 P 12\n2 P 50\n1 P 13\n2 P 51\n1 P 23\n2 P 52\n1 P 24'
[ "$(sed '1,/^moves$/d' "$saved")" = "$expected" ] || fail "the saved record's moves: $(cat "$saved")"
grep -qx 'how square' "$saved" || fail "the saved record's ending"

# "vexa FILE", as a file manager opens a record: the game's end, then its
# start.
kill "$vexa_pid"; wait "$vexa_pid" 2>/dev/null
LANGUAGE=ja XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data "$work/vexa" "$saved" >"$work/vexa.log" 2>&1 &
vexa_pid=$!
window=$(wait_for_window '^Vexa with Online Ver1\.2$' 20) || fail "no main window for the record"
xdotool windowfocus --sync "$window" 2>/dev/null
wait_for_colour 24 "$red" "the replay's last position"
xdotool key --window "$window" Home
wait_for_colour 12 "$black" "the replay's start"
xdotool key --window "$window" Right
wait_for_colour 12 "$red" "the replay's first placement"
kill -0 "$vexa_pid" 2>/dev/null || fail "the program exited"
echo "player aids under Xvfb: a game with an undo, saved, opened from the command line and replayed"
