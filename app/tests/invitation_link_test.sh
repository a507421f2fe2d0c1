#!/usr/bin/env bash
# Invitation links on the command line, for the window and for vexa-bot:
#   - vexa with a good link starts in "VS Online" and joins: a vexa-bot
#     hosting on that port sees it connect and learns its name;
#   - vexa with a bad link says what is wrong in one line and starts as
#     usual (it is still running, and joins nothing);
#   - vexa-bot join with a good link plays a game with a hosting bot; with
#     a bad one it refuses with that line and exit status 2.
#
#   invitation_link_test.sh VEXA VEXA_BOT
set -u
vexa=$1 bot=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }
now_ms() { date +%s%3N; }
wait_for_text() {  # FILE TEXT SECONDS
  local deadline=$(( $(now_ms) + $3 * 1000 ))
  until grep -q -- "$2" "$1" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
# A bot hosting on a port the system chose free (retried when taken).
host_bot() {  # LOG [ARGS...]
  local log=$1 port
  shift
  for _ in $(seq 20); do
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    [ "$port" -lt 65534 ] || continue
    "$bot" host --port "$port" --name Host --pause-ms 0 "$@" >"$log.out" 2>"$log" &
    pids+=($!)
    if wait_for_text "$log" "waiting for a player" 10; then echo "$port"; return 0; fi
    kill "${pids[-1]}" 2>/dev/null
  done
  return 1
}
# The window in a folder of its own, with its player's name.
start_window() {  # NAME LINK
  mkdir -p "$work/$1"
  cp "$vexa" "$work/$1/vexa"
  printf 'Taro\r\n 0 \r\n 0 \r\n 0 \r\n' >"$work/$1/Config"
  XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/$1/config" XDG_DATA_HOME="$work/$1/data" QT_QPA_PLATFORM=offscreen \
    "$work/$1/vexa" "$2" >"$work/$1.out" 2>"$work/$1.err" &
  pids+=($!)
  window_pid=$!
}

# The window joins by a good link.
port=$(host_bot "$work/bot1.err") || { echo "FAIL no port to host on"; exit 1; }
start_window good "vexa://127.0.0.1:$port"
wait_for_text "$work/bot1.err" "playing against Taro" 20 ||
  fail "the window did not join by vexa://127.0.0.1:$port (bot: $(cat "$work/bot1.err"))"
grep -q "^vexa:" "$work/good.err" && fail "the window complained: $(cat "$work/good.err")"

# Bad links: one line, then the program as usual.
# (Each reason is read by net_tests; here the program's handling of one.)
for link in "vexa://127.0.0.1" "vexa://[::1:36150" "vexa:/host:36150"; do
  start_window bad "$link"
  wait_for_text "$work/bad.err" "invitation link refused: " 10 || fail "vexa $link: no refusal"
  # Qt's own notes aside, the program says one line.
  [ "$(grep -c "^vexa:" "$work/bad.err")" -eq 1 ] || fail "vexa $link: not one line: $(cat "$work/bad.err")"
  sleep 0.5  # the program must still be running: time is what is tested here
  kill -0 "$window_pid" 2>/dev/null || fail "vexa $link: the program did not start"
  kill "$window_pid"
  wait "$window_pid" 2>/dev/null
done

# vexa-bot joins by a good link and plays a game.
port=$(host_bot "$work/bot2.err" --games 1) || { echo "FAIL no port to host on"; exit 1; }
if ! timeout 120 "$bot" join "vexa://127.0.0.1:$port" --name Guest --pause-ms 0 >"$work/join.out" \
  2>"$work/join.err"; then
  fail "vexa-bot join vexa://127.0.0.1:$port: $(cat "$work/join.err")"
fi
grep -q "^game 1 result" "$work/join.out" || fail "vexa-bot joined by a link played no game"
port=$(host_bot "$work/bot3.err") || { echo "FAIL no port to host on"; exit 1; }
if ! timeout 20 "$bot" join "vexa://[::1]:$port" --name Guest6 --games 1 --pause-ms 0 \
  >/dev/null 2>"$work/join6.err" </dev/null & then :; fi
pids+=($!)
wait_for_text "$work/bot3.err" "playing against Guest6" 20 ||
  fail "vexa-bot did not join by vexa://[::1]:$port (IPv6 in brackets)"

# vexa-bot refuses a bad link with status 2 and the reason.
"$bot" join "vexa://[2001:db8::1" >/dev/null 2>"$work/badbot.err"
status=$?
[ "$status" -eq 2 ] || fail "vexa-bot with a bad link: status $status"
head -n 1 "$work/badbot.err" | grep -q "^vexa-bot: invitation link refused: .*closing bracket" ||
  fail "vexa-bot with a bad link said: $(cat "$work/badbot.err")"
"$bot" join "vexa://127.0.0.1:$port" --port 1234 >/dev/null 2>"$work/twice.err"
[ $? -eq 2 ] || fail "vexa-bot took a link and --port together"

[ "$failures" -eq 0 ] && echo "PASS"
exit $((failures > 0))
