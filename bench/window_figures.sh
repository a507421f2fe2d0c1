#!/usr/bin/env bash
# Measures the desktop program against a bare Qt window of the same size, in
# one run under Xvfb: the time from start to the window shown, the peak
# memory, and the processor time while the computer player thinks.
#
#   bench/window_figures.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-9}
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$build/app/vexa" "$work/vexa"
printf 'Taro\r\n 0 \r\n 0 \r\n 0 \r\n' > "$work/Config"

source "$(dirname "$0")/../scripts/xvfb.sh"
start_xvfb 130

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Starts a program, waits until its window is mapped; prints the time it
# took in ms and the peak resident memory in KiB, then stops the program.
measure() {  # measure PROGRAM TITLE
  local start pid shown peak
  start=$(now_ms)
  "$1" >/dev/null 2>"$work/stderr" &
  pid=$!
  wait_for_window "^$2\$" >/dev/null ||
    { echo "no window '$2' appeared" >&2; cat "$work/stderr" >&2; exit 1; }
  shown=$(now_ms)
  sleep 0.5  # let it settle before reading its peak memory
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$((shown - start)) $peak"
}

# The two programs take turns, so that other work on the machine weighs on
# both alike.
for _ in $(seq "$runs"); do
  measure "$build/bench/bare_window" "Bare window" >> "$work/bare.txt"
  measure "$work/vexa" "Vexa with Online Ver1\.2" >> "$work/vexa.txt"
done
bare_ms=$(cut -d' ' -f1 "$work/bare.txt" | median); vexa_ms=$(cut -d' ' -f1 "$work/vexa.txt" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare.txt" | median); vexa_kb=$(cut -d' ' -f2 "$work/vexa.txt" | median)
echo "start-up to window shown (median of $runs): bare ${bare_ms} ms, vexa ${vexa_ms} ms," \
  "ratio $(awk -v a="$vexa_ms" -v b="$bare_ms" 'BEGIN {printf "%.2f", a / b}')"
echo "peak resident memory (median of $runs): bare ${bare_kb} KiB, vexa ${vexa_kb} KiB," \
  "ratio $(awk -v a="$vexa_kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}')"

# The computer player's thinking pause: a new "VS CPU" game from the menu,
# one piece clicked on the board, then the processor time of the process
# during the CPU's one-second pause.
"$work/vexa" >/dev/null 2>&1 &
pid=$!
window=$(wait_for_window '^Vexa with Online Ver1\.2$')
sleep 0.5
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+g; sleep 0.2; xdotool key n; sleep 0.3
# The pointer on the centre of cell 60 (row 5, column 5).

clk=$(getconf CLK_TCK)
point_at_twips "$window" "$(cell_x 60)" "$(cell_y 60)"
cpu_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
xdotool click 1
sleep 0.9
cpu_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
kill "$pid"; wait "$pid" 2>/dev/null || true
echo "processor time during 0.9 s of the CPU's thinking pause:" \
  "$(awk -v t=$((cpu_after - cpu_before)) -v c="$clk" 'BEGIN {printf "%.1f", 100 * t / c / 0.9}') % of one core" \
  "(clock ticks of $((1000 / clk)) ms: $((cpu_after - cpu_before)))"
