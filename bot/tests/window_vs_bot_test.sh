#!/usr/bin/env bash
# The real program under Xvfb against vexa-bot: first it joins a bot that
# hosts, then it hosts and a bot joins. Each time the window plays a whole
# game by clicks on its board (cells in turn; a click that is not its move
# changes nothing) and the bot must report one finished game and exit 0.
#
#   window_vs_bot_test.sh VEXA VEXA_BOT
#
# Exit status 77 (skipped) when Xvfb or xdotool is missing.
set -u
vexa=$1 bot=$2
for tool in Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid="" vexa_pid="" bot_pid=""
cleanup() {
  for pid in "$bot_pid" "$vexa_pid" "$xvfb_pid"; do [ -z "$pid" ] || kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 130 || exit 1

fail() {
  echo "FAIL: $*"
  for f in "$work"/*.err "$work"/*.log; do [ -f "$f" ] && { echo "--- $f"; tail -n 20 "$f"; }; done
  exit 1
}
now_ms() { date +%s%3N; }
wait_for_text() {  # FILE TEXT SECONDS
  local deadline=$(( $(now_ms) + $3 * 1000 ))
  until grep -q "$2" "$1" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
# A port P with P + 1 free as well. The bot hosts on it and lets go at once,
# which proves both ports could be bound; they lie below the kernel's range
# for outgoing connections, so no client socket takes them meanwhile.
free_port() {
  local port probe
  for _ in $(seq 20); do
    port=$(( 10000 + RANDOM % 5000 * 2 ))
    "$bot" host --port "$port" --pause-ms 0 >/dev/null 2>"$work/probe.err" &
    probe=$!
    wait_for_text "$work/probe.err" "hosting on\|cannot host" 10
    kill "$probe" 2>/dev/null; wait "$probe" 2>/dev/null
    grep -q "hosting on" "$work/probe.err" && { echo "$port"; return 0; }
  done
  return 1
}

click_at() { point_at_twips "$window" "$1" "$2"; xdotool click 1; sleep 0.05; }
# A dialog's control by the centre of its rectangle in twips (no menu bar).
click_dialog() {  # TITLE_REGEX X_TWIPS Y_TWIPS
  local dialog
  dialog=$(wait_for_window "$1" 20) || fail "no window titled '$1'"
  xdotool mousemove --window "$dialog" $(( $2 / 15 )) $(( $3 / 15 )) click 1
}
type_into() {  # X_TWIPS Y_TWIPS TEXT
  click_at "$1" "$2"
  xdotool key ctrl+a BackSpace
  xdotool type --delay 20 "$3"
}

# The program in a folder of its own with a player name, "VS Online" chosen
# and the port typed in.
start_window() {  # PORT
  mkdir -p "$work/program"
  cp "$vexa" "$work/program/vexa"
  printf 'Taro\r\n 0 \r\n 0 \r\n 0 \r\n' >"$work/program/Config"
  # Preferences of its own: the language the user chose does not reach it;
  # the desktop's first language is Japanese, the texts the test expects.
  LANGUAGE=ja XDG_CONFIG_HOME="$work/config" "$work/program/vexa" >"$work/vexa.log" 2>&1 &
  vexa_pid=$!
  window=$(wait_for_window '^Vexa with Online Ver1\.2$' 20) || fail "the window did not appear"
  xdotool windowfocus --sync "$window" 2>/dev/null
  click_at 7905 2362                 # "VS Online"
  type_into 8040 4440 "$1"           # the port
}

# Clicks the board's cells in turn until the bot has reported its game.
play_by_clicks() {
  local deadline=$(( $(now_ms) + 120000 )) cell
  while [ ! -s "$work/bot.out" ]; do
    for cell in $(seq 12 108); do
      [ "$(now_ms)" -lt "$deadline" ] || fail "the game did not end within 120 s"
      [ -s "$work/bot.out" ] && break
      kill -0 "$vexa_pid" 2>/dev/null || fail "the program exited during the game"
      point_at_twips "$window" "$(cell_x "$cell")" "$(cell_y "$cell")"
      xdotool click 1
    done
  done
}

check_bot() {  # WHAT
  local deadline=$(( $(now_ms) + 30000 ))
  while kill -0 "$bot_pid" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "$1: the bot did not leave"
    sleep 0.05
  done
  wait "$bot_pid"; local status=$?
  bot_pid=""
  [ "$status" -eq 0 ] || fail "$1: the bot exited with $status"
  grep -Eq '^game 1 result (win|loss|draw) how (square|stock) board [0-5]{121}$' "$work/bot.out" ||
    fail "$1: the bot reported '$(cat "$work/bot.out")'"
  kill -0 "$vexa_pid" 2>/dev/null || fail "$1: the program did not survive the game"
  echo "$1: $(cat "$work/bot.out")"
  kill "$vexa_pid"; wait "$vexa_pid" 2>/dev/null; vexa_pid=""
  rm -rf "$work/program" "$work/bot.out"
}

# --- The window joins a bot that hosts ---------------------------------------
port=$(free_port) || fail "no free port"
"$bot" host --port "$port" --pause-ms 0 --seed 7 >"$work/bot.out" 2>"$work/bot.err" &
bot_pid=$!
wait_for_text "$work/bot.err" "hosting on" 10 || fail "the bot does not host"
start_window "$port"
type_into 8715 3885 127.0.0.1      # the host's address
click_at 8700 3300                 # "ゲームに参加"
# The bot opens the settings and starts the game itself; the window moves
# second.
play_by_clicks
check_bot "window joined, bot hosted"

# --- The window hosts, a bot joins ---------------------------------------------
port=$(free_port) || fail "no free port"
start_window "$port"
click_at 8700 2940                 # "ゲームを主催"
"$bot" join 127.0.0.1 --port "$port" --pause-ms 0 --seed 8 >"$work/bot.out" 2>"$work/bot.err" &
bot_pid=$!
wait_for_text "$work/bot.err" "connected" 20 || fail "the bot did not connect"
click_dialog '^Vexa with Online$' 1950 945     # "OK" of the connection dialog
click_dialog '^ゲーム設定$' 1350 4260          # "ゲームスタート": the window moves first
play_by_clicks
# The result dialog's "OK": the host asks for the next game, and the bot,
# done, leaves.
result=$(wait_for_window '^Vexa with Online$' 10) &&
  xdotool mousemove --window "$result" 104 74 click 1
check_bot "window hosted, bot joined"
