#!/usr/bin/env bash
# Runs vexa-analyze on boards written here and compares what it prints.
set -u
tool=$1

source "$(dirname "$0")/script_helpers.sh"

input=$(printf '%s\n%s\n%s\n' \
  "$(board 12=1 13=1 23=1 24=1)" \
  "$(board 13=1 23=1 35=1 25=1) note=tilted" \
  "$(board 21=1 31=1 33=1 43=1)")
# (A trailing "." keeps the empty lines that command substitution would drop.)
expect "squares side 1" $'12,13,24,23\n13,23,35,25 13,25,35,23\n\n.' \
  "$(printf '%s\n' "$input" | "$tool" squares 1; echo .)"
expect "squares other side" $'\n\n\n.' "$(printf '%s\n' "$input" | "$tool" squares 3; echo .)"

# Bad lines are named on standard error; the good ones still print and the
# exit code says something was wrong.
bad=$(printf '%s\n%s\n%s\n' "0123" "$(board 12=7)" "$(board 12=2 13=2 23=2 24=2)")
out=$(printf '%s\n' "$bad" | "$tool" squares 2 2>/tmp/vexa-analyze-err.$$)
status=$?
err=$(cat /tmp/vexa-analyze-err.$$); rm -f /tmp/vexa-analyze-err.$$
expect "bad lines exit code" 1 "$status"
expect "good line still judged" "12,13,24,23" "$out"
case "$err" in *"line 1: expected 121 cell values, found 4"*"line 2: cell 12 holds '7'"*) ;;
  *) expect "errors name the lines" "line 1 ... line 2 ..." "$err" ;; esac

"$tool" squares 5 </dev/null 2>/dev/null
expect "side outside 1..4 is refused" 2 "$?"

# Self-play writes a record per game; each replays to its own ending, and the
# last board has the winner's square or both stocks used up.
records=$(mktemp -d)
"$tool" selfplay VeryHard Hard --games 2 --seed 1 --records "$records" >/dev/null
expect "one record per game" 2 "$(ls "$records" | wc -l)"
for record in "$records"/*; do
  replay=$("$tool" record "$record")
  expect "record replays" 0 "$?"
  winner=$(sed -n 's/^winner //p' "$record")
  # The panels and the result name the strengths: B (Hard) on the left,
  # side 1, as no person played.
  expect "sides of $(basename "$record")" $'left Hard\nright VeryHard' "$(grep -E '^(left|right) ' "$record")"
  expect "result of $(basename "$record")" \
    "$([ "$winner" = 1 ] && echo Hard || echo VeryHard) wins" "$(sed -n 's/^result //p' "$record")"
  expect "result line of $(basename "$record")" "result $winner square" "$(tail -1 <<<"$replay")"
  expect "a board per placement" "$(sed '1,/^moves$/d' "$record" | wc -l)" \
    "$(($(wc -l <<<"$replay") - 1))"
done
# --grid follows each board with its picture: the left side 1, the right
# side (3 in these VS CPU records) 2, blockers #, empty cells ., corners blank.
plain=$("$tool" record "$records/game-00000001.txt")
expected=$(awk '/^result/ { print; next }
  { print
    for (k = 0; k < 121; k++) {
      c = substr($0, k + 1, 1)
      printf "%s", k == 0 || k == 10 || k == 110 || k == 120 ? " " : \
        c == "0" ? "." : c == "5" ? "#" : c == "1" ? "1" : "2"
      if (k % 11 == 10) printf "\n"
    } }' <<<"$plain")
grid=$("$tool" record --grid "$records/game-00000001.txt")
expect "record --grid" "$expected" "$(grep -v '^after ' <<<"$grid")"
# Each picture's label is its placement: number, kind and cell, as in the file.
expect "record --grid labels" \
  "$(sed '1,/^moves$/d' "$records/game-00000001.txt" | awk '{ print "after " NR " " $2 " " $3 }')" \
  "$(grep '^after ' <<<"$grid")"
expect "record --grid --cells names" "after 1 $(sed -n '/^moves$/{n;p}' "$records/game-00000001.txt" |
  awk '{ c = $3; printf "%s %c%d", $2, 65 + c % 11, int(c / 11) + 1 }')" \
  "$("$tool" record --grid --cells names "$records/game-00000001.txt" | grep -m1 '^after ')"
# A broken record: its line on standard error, exit status 1.
sed 's/^2 P \(.*\)$/2 P 0/' "$records/game-00000001.txt" >"$records/broken.txt"
err=$("$tool" record "$records/broken.txt" 2>&1 >/dev/null)
expect "broken record exit code" 1 "$?"
case "$err" in *"broken.txt:12: cell 0 is not a playable cell"*) ;;
  *) expect "the broken record's line" "broken.txt:12: cell 0 ..." "$err" ;; esac
rm -rf "$records"

# A fit with held-out games: those games are the ones "check" plays for
# their seed, judged by the curve just fitted.
fit=$("$tool" calibrate fit --games 1 --seed 2 --check-seed 3 --playouts 200 --threads 1 2>/dev/null)
check=$("$tool" calibrate check --games 1 --seed 3 --playouts 200 --threads 1 2>/dev/null)
held_out=$(sed -n '/^held out (seed 3):$/,$p' <<<"$fit")
expect "held-out games are check's" "$(sed -n 2p <<<"$check" | cut -d, -f1-2)" \
  "$(sed -n 3p <<<"$held_out" | cut -d, -f1-2)"
expect "held out by the fitted curve" "$(head -1 <<<"$fit")" "$(sed -n 2p <<<"$held_out")"

# Help per command, and the line that says what went wrong before the usage.
help=$("$tool" analyse --help)
expect "analyse --help" 0 "$?"
case "$help" in *"before  the mover's chance to win"*"--marks A,B,C"*) ;;
  *) expect "analyse --help tells its columns" "... before ... --marks ..." "$help" ;; esac
case "$("$tool" ladder --help)" in *"95 % interval"*"--results FILE"*) ;;
  *) expect "ladder --help tells its table" "... 95 % interval ... --results FILE ..." "" ;; esac
err=$("$tool" analyse 2>&1 >/dev/null)
expect "analyse without a file" "2 vexa-analyze: analyse: the record FILE is missing" \
  "$? $(head -1 <<<"$err")"
err=$("$tool" analyze 2>&1 >/dev/null)
expect "analyze is analyse" "vexa-analyze: analyse: the record FILE is missing" "$(head -1 <<<"$err")"
err=$("$tool" analyse-all x 2>&1 >/dev/null)
expect "an unknown command" "2 vexa-analyze: unknown command 'analyse-all'" "$? $(head -1 <<<"$err")"
case "$err" in *"usage: vexa-analyze"*) ;; *) expect "the usage follows" "usage: ..." "$err" ;; esac

if [ "$failures" -eq 0 ]; then echo "vexa-analyze: all checks passed"; fi
exit "$failures"
