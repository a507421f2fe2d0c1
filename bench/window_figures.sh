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

for display in $(seq 130 160); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
# -noreset: otherwise the server resets each time its last client leaves,
# and a program connecting just then (while xdotool polls) is turned away.
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Starts a program, waits until its window is mapped; prints the time it
# took in ms and the peak resident memory in KiB, then stops the program.
measure() {  # measure PROGRAM TITLE
  local start pid window="" shown peak
  start=$(now_ms)
  "$1" >/dev/null 2>"$work/stderr" &
  pid=$!
  for _ in $(seq 2000); do
    window=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.005
  done
  [ -n "$window" ] || { echo "no window '$2' appeared" >&2; cat "$work/stderr" >&2; exit 1; }
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
until window=$(xdotool search --onlyvisible --name '^Vexa with Online Ver1\.2$' 2>/dev/null | head -n 1 || true) && [ -n "$window" ]; do sleep 0.01; done
sleep 0.5
xdotool windowfocus --sync "$window"
xdotool key --window "$window" alt+g; sleep 0.2; xdotool key n; sleep 0.3
# Cell 60 (row 5, column 5) lies at 150 + 480 * 5 + 187 twips in both axes
# of the client area, below the menu bar.
menu_height=$(( $(xdotool getwindowgeometry --shell "$window" | awk -F= '/HEIGHT/ {print $2}') - 485 ))
clk=$(getconf CLK_TCK)
xdotool mousemove --window "$window" $(( (150 + 480 * 5 + 187) / 15 )) $(( menu_height + (165 + 480 * 5 + 187) / 15 ))
cpu_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
xdotool click 1
sleep 0.9
cpu_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
kill "$pid"; wait "$pid" 2>/dev/null || true
echo "processor time during 0.9 s of the CPU's thinking pause:" \
  "$(awk -v t=$((cpu_after - cpu_before)) -v c="$clk" 'BEGIN {printf "%.1f", 100 * t / c / 0.9}') % of one core" \
  "(clock ticks of $((1000 / clk)) ms: $((cpu_after - cpu_before)))"
