#!/usr/bin/env bash
# Master against another build's Master, over the wire as two vexa-bot
# processes on this machine, at the same thinking time a move: half the
# games with the first bot hosting, half with the second, the first move
# alternating within each half. Only one side thinks at a time, so each
# search has the machine's cores to itself.
#
#   bash bench/master_head_to_head.sh NEW_BOT OLD_BOT [GAMES] [PAUSE_MS] [PORT]
#
# Prints "new W old L draws D in N games". Defaults: 200 games, 200 ms a
# move, ports 36250 and up.
set -euo pipefail
new_bot=$1
old_bot=$2
games=${3:-200}
pause=${4:-200}
port=${5:-36250}
half=$((games / 2))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One half: HOST hosts, GUEST joins; each writes a line per game.
play_half() {
  local host=$1 guest=$2 at=$3 seed=$4
  "$host" host --port "$at" --strength Master --games "$half" --first alternate \
    --pause-ms "$pause" --seed "$seed" >"$work/host-$at.txt" 2>/dev/null &
  local host_pid=$!
  # The guest may only join once the host listens.
  for _ in $(seq 100); do
    ss -ltn "sport = :$at" | grep -q LISTEN && break
    sleep 0.1
  done
  "$guest" join 127.0.0.1 --port "$at" --strength Master --games "$half" \
    --pause-ms "$pause" --seed "$((seed + 1))" >"$work/guest-$at.txt" 2>/dev/null || true
  wait "$host_pid" || true
}

play_half "$new_bot" "$old_bot" "$port" 1
play_half "$old_bot" "$new_bot" "$((port + 2))" 3

new_wins=$(cat "$work/host-$port.txt" "$work/guest-$((port + 2)).txt" | grep -c 'result win' || true)
old_wins=$(cat "$work/guest-$port.txt" "$work/host-$((port + 2)).txt" | grep -c 'result win' || true)
draws=$(cat "$work/host-$port.txt" "$work/guest-$((port + 2)).txt" | grep -c 'result draw' || true)
played=$(cat "$work/host-$port.txt" "$work/guest-$((port + 2)).txt" | grep -c '^game' || true)
echo "new $new_wins old $old_wins draws $draws in $played games"
