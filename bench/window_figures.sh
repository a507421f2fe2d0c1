#!/usr/bin/env bash
# Measures the desktop program against a bare Qt window of the same size, in
# one run under Xvfb: the time from start to the window shown, the peak
# memory, and the processor time while the computer player thinks. The bare
# window is measured twice: as it is, and drawing one Japanese label in the
# program's font; the difference is what the font costs, and what the
# program needs above the second is its own.
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
# took in ms, the peak resident memory in KiB and the KiB of font files
# resident then, and stops the program.
measure() {  # measure TITLE PROGRAM [ARGUMENT...]
  local start pid shown peak title=$1
  shift
  start=$(now_ms)
  "$@" >/dev/null 2>"$work/stderr" &
  pid=$!
  wait_for_window "^$title\$" >/dev/null ||
    { echo "no window '$title' appeared" >&2; cat "$work/stderr" >&2; exit 1; }
  shown=$(now_ms)
  sleep 0.5  # let it settle before reading its peak memory
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  # The resident pages of font files: the program loads the bold face too.
  fonts=$(awk '/^[0-9a-f]+-/ {font = $6 ~ /^\/usr\/share\/fonts\//} font && /^Rss:/ {k += $2}
               END {print k + 0}' "/proc/$pid/smaps")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$((shown - start)) $peak $fonts"
}

# The programs take turns, so that other work on the machine weighs on all
# alike.
for _ in $(seq "$runs"); do
  measure "Bare window" "$build/bench/bare_window" >> "$work/bare.txt"
  measure "Bare window with Japanese" "$build/bench/bare_window" --japanese >> "$work/font.txt"
  measure "Vexa with Online Ver1\.2" "$work/vexa" >> "$work/vexa.txt"
done
column_median() { cut -d' ' -f"$1" "$work/$2.txt" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
bare_ms=$(column_median 1 bare) font_ms=$(column_median 1 font) vexa_ms=$(column_median 1 vexa)
bare_kb=$(column_median 2 bare) font_kb=$(column_median 2 font) vexa_kb=$(column_median 2 vexa)
echo "start-up to window shown (median of $runs): bare ${bare_ms} ms," \
  "bare with Japanese ${font_ms} ms, vexa ${vexa_ms} ms;" \
  "ratio to bare $(ratio "$vexa_ms" "$bare_ms"), to bare with Japanese $(ratio "$vexa_ms" "$font_ms")"
echo "peak resident memory (median of $runs): bare ${bare_kb} KiB," \
  "bare with Japanese ${font_kb} KiB, vexa ${vexa_kb} KiB;" \
  "ratio to bare $(ratio "$vexa_kb" "$bare_kb"), to bare with Japanese $(ratio "$vexa_kb" "$font_kb")"
bare_fonts=$(column_median 3 bare) font_fonts=$(column_median 3 font) vexa_fonts=$(column_median 3 vexa)
own_kb=$((vexa_kb - font_kb))
own_without_fonts_kb=$(( (vexa_kb - vexa_fonts) - (font_kb - font_fonts) ))
mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k * 1024 / 1e6}'; }
echo "font files resident (median): bare ${bare_fonts} KiB, bare with Japanese ${font_fonts} KiB," \
  "vexa ${vexa_fonts} KiB"
echo "the program's own share of peak memory: ${own_kb} KiB ($(mb "$own_kb") MB) above the bare" \
  "window with Japanese, ${own_without_fonts_kb} KiB ($(mb "$own_without_fonts_kb") MB) without" \
  "font files (target: under 5 MB)"

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
