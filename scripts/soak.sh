#!/usr/bin/env bash
# Two vexa-bot processes, host and guest, play through meddling-proxy on
# 127.0.0.1 (merged writes, each chunk delayed 0-30 ms, reads split where
# the receiver can still join them), then the same with the proxy cutting
# the connection at a random moment.
#
#   scripts/soak.sh [--bot PATH] [--proxy PATH] [--games N] [--cuts M] [--seed S]
#
# Defaults: build/bot/vexa-bot, build/reliability/meddling-proxy, 300 games,
# 20 cuts, seed 1. Both strengths VeryHard, the first move alternating,
# pauses 0. Checks: every game's final boards agree (the guest's is the
# host's with 1 and 4 swapped), the results agree, no game takes longer than
# 30 s, both exit 0; after a cut each side exits 3 within 10 s and reports
# the game as "left". Exit status 0 when every check held.
set -u
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bot=$repo_root/build/bot/vexa-bot
proxy=$repo_root/build/reliability/meddling-proxy
games=300 cuts=20 seed=1
while [ $# -gt 0 ]; do
  case $1 in
    --bot) bot=$2 ;; --proxy) proxy=$2 ;; --games) games=$2 ;; --cuts) cuts=$2 ;;
    --seed) seed=$2 ;; *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
RANDOM=$seed
now_ms() { date +%s%3N; }

# Waits up to $3 seconds for the text $2 in file $1.
wait_for_text() {
  local deadline=$(( $(now_ms) + $3 * 1000 ))
  until grep -q "$2" "$1" 2>/dev/null; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.02
  done
}

# Starts host, proxy and guest for run $1 with proxy options $2...; each
# tries other ports if its own are taken.
start_run() {
  local run=$1; shift
  local tries
  for tries in 1 2 3 4 5; do
    host_port=$(( 20000 + (RANDOM % 2000) * 2 ))
    "$bot" host --port "$host_port" --games "$games_in_run" --first alternate --pause-ms 0 \
      --seed "$run" >"$work/host$run.out" 2>"$work/host$run.err" &
    host_pid=$!
    wait_for_text "$work/host$run.err" "hosting on\|cannot host" 10
    grep -q "hosting on" "$work/host$run.err" && break
    wait "$host_pid"
  done
  for tries in 1 2 3 4 5; do
    proxy_port=$(( 24000 + (RANDOM % 2000) * 2 ))
    "$proxy" --listen "$proxy_port" --to "$host_port" --seed "$run" "$@" \
      2>"$work/proxy$run.err" &
    proxy_pid=$!
    wait_for_text "$work/proxy$run.err" "listening\|cannot listen" 10
    grep -q "listening" "$work/proxy$run.err" && break
    wait "$proxy_pid"
  done
  "$bot" join 127.0.0.1 --port "$proxy_port" --games "$games_in_run" --pause-ms 0 \
    --seed "$(( run + 100000 ))" >"$work/guest$run.out" 2>"$work/guest$run.err" &
  guest_pid=$!
  pids=("$host_pid" "$proxy_pid" "$guest_pid")
}

# The games of run $1 that both sides finished and that they tell
# differently; prints the count.
disagreements() {
  awk '
    NR == FNR { host[$2] = $0; next }
    $6 != "left" && ($2 in host) {
      split(host[$2], h, " ")
      if (h[6] == "left") next
      board = h[8]; gsub(/1/, "x", board); gsub(/4/, "1", board); gsub(/x/, "4", board)
      result = h[4] == "win" ? "loss" : h[4] == "loss" ? "win" : h[4]
      how = h[6] == "time" ? "lose" : h[6] == "lose" ? "time" : h[6]
      if ($4 != result || $6 != how || $8 != board) bad++
      seen++
    }
    END { print bad + 0 }' "$work/host$1.out" "$work/guest$1.out"
}

failed=0

# --- The soak ------------------------------------------------------------------
games_in_run=$games
start=$(now_ms)
start_run 0
hangs=0 last_count=0 last_change=$(now_ms)
while kill -0 "$host_pid" 2>/dev/null || kill -0 "$guest_pid" 2>/dev/null; do
  count=$(wc -l <"$work/host0.out")
  if [ "$count" != "$last_count" ]; then
    last_count=$count last_change=$(now_ms)
  elif [ $(( $(now_ms) - last_change )) -gt 30000 ]; then
    hangs=1
    echo "game $(( count + 1 )) took more than 30 s" >&2
    kill "$host_pid" "$guest_pid" "$proxy_pid" 2>/dev/null
    break
  fi
  sleep 0.1
done
wait "$host_pid"; host_status=$?
wait "$guest_pid"; guest_status=$?
wait "$proxy_pid" 2>/dev/null
seconds=$(( ($(now_ms) - start) / 1000 ))
host_games=$(wc -l <"$work/host0.out")
guest_games=$(wc -l <"$work/guest0.out")
bad=$(disagreements 0)
[ "$host_games" -eq "$games" ] && [ "$guest_games" -eq "$games" ] || bad=$(( bad + 1 ))
wins=$(awk '$4 == "win"' "$work/host0.out" | wc -l)
draws=$(awk '$4 == "draw"' "$work/host0.out" | wc -l)
echo "soak: $host_games games in ${seconds} s (host won $wins, drew $draws), disagreements $bad," \
  "hangs $hangs, exit statuses host $host_status guest $guest_status"
sed -n 's/^meddling-proxy: done; /proxy: /p' "$work/proxy0.err"
if [ "$bad" -ne 0 ] || [ "$hangs" -ne 0 ] || [ "$host_status" -ne 0 ] || [ "$guest_status" -ne 0 ]; then
  failed=1
  tail -n 5 "$work/host0.err" "$work/guest0.err" "$work/proxy0.err" >&2
fi

# --- Cuts --------------------------------------------------------------------------
games_in_run=1000
cut_ok=0 slowest=0 cut_games=0
for run in $(seq 1 "$cuts"); do
  start_run "$run" --cut-after-ms $(( 200 + RANDOM % 2800 ))
  wait "$proxy_pid"
  cut_at=$(now_ms)
  statuses=""
  for pid in "$host_pid" "$guest_pid"; do
    deadline=$(( cut_at + 10000 ))
    while kill -0 "$pid" 2>/dev/null && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.02; done
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"; statuses+=" hung"
    else
      wait "$pid"; statuses+=" $?"
    fi
  done
  taken=$(( $(now_ms) - cut_at ))
  [ "$taken" -gt "$slowest" ] && slowest=$taken
  host_last=$(tail -n 1 "$work/host$run.out")
  guest_last=$(tail -n 1 "$work/guest$run.out")
  # The games before the cut agree; the one cut short is "left" on both.
  cut_games=$(( cut_games + $(grep -vc ' how left ' "$work/host$run.out") ))
  if [ "$(disagreements "$run")" -eq 0 ] && [ "$statuses" = " 3 3" ] && [[ $host_last == *" how left "* ]] && [[ $guest_last == *" how left "* ]]; then
    cut_ok=$(( cut_ok + 1 ))
  else
    failed=1
    echo "cut run $run: exit statuses$statuses; host: '${host_last:0:40}' guest: '${guest_last:0:40}'" >&2
  fi
done
[ "$cuts" -eq 0 ] || echo "cuts: $cut_ok of $cuts runs ended with both sides exiting 3 and reporting" \
  "the game as left, the slowest ${slowest} ms after the cut; the $cut_games games before the cuts agree"
exit $failed
