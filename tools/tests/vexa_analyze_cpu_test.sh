#!/usr/bin/env bash
# Runs the reaches, cpu and selfplay subcommands of vexa-analyze and compares
# what they print.
set -u
tool=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT

source "$(dirname "$0")/script_helpers.sh"

# --- reaches: one line per board, the reach list, ';', the pre-reach list.
input=$(printf '%s\n' \
  "$(board 24=1 26=1 46=1)" \
  "$(board 24=1 26=1 46=1 48=5) note=blocked" \
  "$(board)" \
  "$(board 24=3 26=3 46=3)")
expect "reaches side 1" $'48;2 4 22 44 34 36 50 70\n;2 4 22 44 34 36 50 70\n;\n;' \
  "$(printf '%s\n' "$input" | "$tool" reaches 1)"
expect "reaches side 3" $';\n;\n;\n48;2 4 22 44 34 36 50 70' \
  "$(printf '%s\n' "$input" | "$tool" reaches 3)"

# --- cpu: the CPU's placements on each board.
# It wins at once; "Easy" blocks Player1's 84 instead. Player1's four reach
# cells take four blockers, or two and the piece; after four, "Normal"
# prepares its first pre-reach cell 79, the look-ahead the last of the equal
# ones, 37. Next to Player1's pair 24-26 a lone CPU piece on 60 takes 46 at
# Hard and is extended to 62 at VeryHard.
threats="$(board 24=1 26=1 46=1 80=1 82=1 102=1 30=1 32=1 52=1 57=3 59=3)"
input=$(printf '%s\n' \
  "$(board 24=3 26=3 46=3 60=1 62=1 82=1)" \
  "$threats" \
  "$threats blockers=2 pieces=5" \
  "$(board 24=1 26=1 60=3)")
expect "cpu VeryHard" $'P 48\nB 48 B 54 B 16 B 104 P 37\nB 48 B 54 P 16\nP 62' \
  "$(printf '%s\n' "$input" | "$tool" cpu VeryHard --seed 1)"
expect "cpu Normal" $'P 48\nB 48 B 54 B 16 B 104 P 79\nB 48 B 54 P 16' \
  "$(printf '%s\n' "$input" | head -3 | "$tool" cpu Normal --seed 1)"
expect "cpu Hard" $'P 48\nB 48 B 54 B 16 B 104 P 37\nB 48 B 54 P 16\nP 46' \
  "$(printf '%s\n' "$input" | "$tool" cpu Hard --seed 1)"
easy=$(printf '%s\n' "$input" | "$tool" cpu Easy --seed 1 | head -1)
case "$easy" in "B 84 P "*) ;; *) expect "cpu Easy defends" "B 84 P ..." "$easy" ;; esac
# A fixed seed gives the same random moves.
empty=$(printf '%s\n' "$(board)" "$(board)" "$(board)")
expect "cpu seed repeats" "$(printf '%s\n' "$empty" | "$tool" cpu Normal --seed 9)" \
  "$(printf '%s\n' "$empty" | "$tool" cpu Normal --seed 9)"

# Bad stocks and full boards are named by line; the good lines still print.
full=$(printf '5%.0s' $(seq 121))
bad=$(printf '%s\n' "$(board) blockers=7" "$(board) pieces=0" "$full" \
  "$(board 24=3 26=3 46=3)")
out=$(printf '%s\n' "$bad" | "$tool" cpu Normal --seed 1 2>"$err")
status=$?
expect "cpu bad lines exit code" 1 "$status"
expect "cpu good line still played" "P 48" "$out"
case "$(cat "$err")" in
  *"line 1: blockers=7 is not 0..6"*"line 2: pieces=0 is not 1..20"*"line 3: too few empty playable cells"*) ;;
  *) expect "cpu errors name the lines" "line 1 ... line 2 ... line 3 ..." "$(cat "$err")" ;;
esac
"$tool" cpu Strong </dev/null 2>/dev/null
expect "unknown strength is refused" 2 "$?"
"$tool" cpu Hard --seed x </dev/null 2>/dev/null
expect "bad seed is refused" 2 "$?"

# --- selfplay: whole games, the tally last.
out=$("$tool" selfplay VeryHard Easy --games 20 --seed 5 2>"$err")
expect "selfplay exit code" 0 "$?"
last=$(printf '%s\n' "$out" | tail -1)
if [[ "$last" =~ ^VeryHard\ ([0-9]+)\ Easy\ ([0-9]+)\ draws\ ([0-9]+)$ ]]; then
  expect "selfplay counts every game" 20 \
    $((BASH_REMATCH[1] + BASH_REMATCH[2] + BASH_REMATCH[3]))
else
  expect "selfplay tally line" "VeryHard N Easy N draws N" "$last"
fi
expect "selfplay seed repeats" "$last" \
  "$("$tool" selfplay VeryHard Easy --games 20 --seed 5 2>/dev/null | tail -1)"
expect "short runs report no progress" "" "$(cat "$err")"
# The four rules of thumb decide exactly as they always have: any change to
# a choice, a list's order or a random draw moves these tallies.
for tally in "VeryHard 704 Hard 296 draws 0" "Hard 907 Normal 93 draws 0" \
             "Normal 954 Easy 36 draws 10" "Easy 220 Easy 219 draws 561"; do
  read -r a _ b _ <<<"$tally"
  expect "selfplay $a $b, seed 1" "$tally" \
    "$("$tool" selfplay "$a" "$b" --games 1000 --seed 1 2>/dev/null | tail -1)"
done
"$tool" selfplay Hard Normal --games 1000 --seed 2 >/dev/null 2>"$err"
expect "long runs report each tenth" 10 "$(grep -c '^selfplay: [0-9]*/1000 games$' "$err")"
"$tool" selfplay Hard Normal --seed 2 >/dev/null 2>&1
expect "selfplay needs --games" 2 "$?"
"$tool" selfplay Hard Normal --games 0 >/dev/null 2>&1
expect "selfplay needs at least one game" 2 "$?"

# --- Master: its winning cell at once; four reach cells of Player1 closed by
# three blockers and the piece, the same turn again for the same seed and
# playout budget; whole games within a playout budget.
expect "cpu Master wins" "P 48" \
  "$(printf '%s\n' "$(board 24=3 26=3 46=3 60=1 62=1 82=1)" |
    "$tool" cpu Master --playouts 200 --threads 1 --seed 1)"
master=$(printf '%s\n' "$threats blockers=3" | "$tool" cpu Master --playouts 300 --threads 2 --seed 4)
case "$master" in "B "*" B "*" B "*" P "*) ;; *) expect "cpu Master closes all four" "B . B . B . P ." "$master" ;; esac
expect "cpu Master repeats" "$master" \
  "$(printf '%s\n' "$threats blockers=3" | "$tool" cpu Master --playouts 300 --threads 2 --seed 4)"
expect "selfplay Master" "Master 2 Easy 0 draws 0" \
  "$("$tool" selfplay Master Easy --games 2 --seed 1 --playouts 100 --threads 1 2>/dev/null)"
"$tool" cpu Master --threads 0 </dev/null 2>/dev/null
expect "no threads is refused" 2 "$?"

if [ "$failures" -eq 0 ]; then echo "vexa-analyze cpu subcommands: all checks passed"; fi
exit "$failures"
