#!/usr/bin/env bash
# vexa-analyze analyse on a short game: side 2 leaves side 1's winning cell
# open, side 1 takes it.
set -u
tool=$1

source "$(dirname "$0")/script_helpers.sh"

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Side 1's pieces on 24, 26 and 46 make 48 a winning cell; side 2 has six
# blockers and places its piece on 102 instead of closing it.
cat >"$dir/game.txt" <<'RECORD'
# vexa game record
date 2026-12-09T07:00:00
mode VS Human
left Player1
right Player2
first 1
result Player1 Win
how square
winner 1
moves
1 P 24
2 P 100
1 P 26
2 P 101
1 P 46
2 P 102
1 P 48
RECORD

out=$("$tool" analyse "$dir/game.txt" --seed 3 --playouts 2000 --threads 2)
expect "analyse exit code" 0 "$?"
turns=$(sed -n '2,8p' <<<"$out")
expect "a line per turn" 7 "$(grep -c . <<<"$turns")"
# The turn that leaves the cell open is "??" whatever the estimate; the
# winning turn after it is a proven win before and won after, unmarked.
expect "the open cell is a blunder" "??" "$(awk '$1 == 6 { print $NF }' <<<"$turns")"
expect "the winning turn" "7 1 P 48 win in 1 P 48 won 0.0" \
  "$(awk '$1 == 7 { $1 = $1; print }' <<<"$turns")"
# Each side's sums are the marks of its lines.
for side in 1 2; do
  count() { awk -v s="$side" -v m="$1" '$2 == s && $NF == m' <<<"$turns" | wc -l; }
  expect "side $side sums" "?! $(count '?!'), ? $(count '?'), ?? $(count '??') in" \
    "$(grep "^side $side:" <<<"$out" | sed 's/^side .: //; s/ [0-9]* turns.*//')"
done
# By the window's names, cell 48 is E5 (column 4, row 4 from 0).
expect "the winning turn by names" "7 1 P E5 win in 1 P E5 won 0.0" \
  "$("$tool" analyse "$dir/game.txt" --seed 3 --playouts 2000 --threads 2 --cells names |
     awk '$1 == 7 { $1 = $1; print }')"
expect "a seed and playouts repeat the output" "$out" \
  "$("$tool" analyse "$dir/game.txt" --seed 3 --playouts 2000 --threads 2)"
# Marks at a drop of 100 points: the rule's "??" stays, and no other turn
# is marked unless it dropped that far.
high=$("$tool" analyse "$dir/game.txt" --seed 3 --playouts 2000 --threads 2 --marks 100,100,100 |
       sed -n '2,8p')
expect "the rule's mark stays" "??" "$(awk '$1 == 6 { print $NF }' <<<"$high")"
expect "no other mark below 100 points" "" "$(awk '$NF ~ /\?/ && $1 != 6 && $(NF-1) < 100' <<<"$high")"

# A placement out of turn: the line at fault, exit status 1, nothing printed.
sed 's/^2 P 101$/1 P 101/' "$dir/game.txt" >"$dir/broken.txt"
out=$("$tool" analyse "$dir/broken.txt" --playouts 100 2>"$dir/err")
expect "broken record exit code" 1 "$?"
expect "broken record prints nothing" "" "$out"
case "$(cat "$dir/err")" in *"broken.txt:14: "*) ;;
  *) expect "the broken record's line" "broken.txt:14: ..." "$(cat "$dir/err")" ;; esac
for marks in 5,20,10 10,5,20 20,10,5; do
  "$tool" analyse "$dir/game.txt" --marks "$marks" >/dev/null 2>&1
  expect "marks that do not rise ($marks) are refused" 2 "$?"
done

if [ "$failures" -eq 0 ]; then echo "vexa-analyze analyse: all checks passed"; fi
exit "$failures"
