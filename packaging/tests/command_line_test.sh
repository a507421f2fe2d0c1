#!/usr/bin/env bash
# The command line of vexa and vexa-analyze: --help and --version answer on
# standard output with status 0, without a display and without opening a
# window; a wrong command line gets the usage on standard error; without a
# graphical session vexa says so in one line and fails; anything it does not
# know is refused instead of starting the game.
#
#   command_line_test.sh VEXA VEXA_ANALYZE VERSION
set -u
vexa=$1 analyze=$2 version=$3
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }

# Runs a program with no display at all (plus any NAME=VALUE given before
# it), bounded in time: a program that opened its window instead of
# answering would otherwise never return. Leaves status, out and err.
run() {
  local assignments=()
  while [[ $1 == *=* ]]; do assignments+=("$1"); shift; done
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${assignments[@]}" \
    timeout 10 "$@" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out") err=$(cat "$work/err")
}

expect_answer() {  # expect_answer NAME EXPECTED_STDOUT_PATTERN COMMAND...
  local name=$1 pattern=$2
  shift 2
  run "$@"
  [ "$status" -eq 0 ] || fail "$name: exit status $status (stderr: $err)"
  [[ $out == $pattern ]] || fail "$name: standard output was: $out"
  [ -z "$err" ] || fail "$name: wrote on standard error: $err"
}

expect_answer "vexa --version" "vexa $version" "$vexa" --version
expect_answer "vexa -v" "vexa $version" "$vexa" -v
expect_answer "vexa --help" \
  "Usage: *\[FILE | vexa://HOST:PORT\]*Vexa with Online*-h, --help*-v, --version*--language*" \
  "$vexa" --help
expect_answer "vexa -h among Qt's options" "Usage: *" "$vexa" -platform offscreen -h
expect_answer "vexa-analyze --version" "vexa-analyze $version" "$analyze" --version
# The usage tells what the cell values of the boards it reads and prints mean.
for asked in --help -h; do
  expect_answer "vexa-analyze $asked" \
    "usage: vexa-analyze squares*record FILE \[--grid\]*0 empty*5 a blocker*corners*" \
    "$analyze" $asked
done
# After a command, that command's own help.
expect_answer "vexa-analyze record --help" \
  "usage: vexa-analyze record FILE \[--grid\]*0 empty*5 a blocker*corner*" "$analyze" record --help
# A wrong command line: the usage on standard error only, status 2, after
# one line that says what is wrong where there is something to say.
for wrong in "" "frobnicate" "record" "squares 1 2"; do
  # shellcheck disable=SC2086  # the words of one command line
  run "$analyze" $wrong
  [ "$status" -eq 2 ] && [ -z "$out" ] && [[ $err == "usage: vexa-analyze"* ||
    $err == "vexa-analyze: "*$'\n'"usage: vexa-analyze"* ]] ||
    fail "vexa-analyze $wrong: status $status, stdout: $out, stderr: $err"
done

# No graphical session: one line on standard error, nothing else, status 1.
# -reverse is Qt's, and holds a "v" that must not read as -v.
for args in "" "-reverse"; do
  run "$vexa" $args
  [ "$status" -eq 1 ] || fail "no display ($args): exit status $status, expected 1"
  [ -z "$out" ] || fail "no display ($args): wrote on standard output: $out"
  [ "$(wc -l <"$work/err")" -eq 1 ] && [[ $err == *"no graphical session"* ]] ||
    fail "no display ($args): standard error was not the one line: $err"
done

# With a display (offscreen), what the program does not know is refused
# before any window.
run QT_QPA_PLATFORM=offscreen "$vexa" --no-such-option
[ "$status" -ne 0 ] && [[ $err == *no-such-option* ]] ||
  fail "unknown option: status $status, stderr: $err"
run QT_QPA_PLATFORM=offscreen "$vexa" --language xx
[ "$status" -eq 1 ] && [[ $err == *"unknown language 'xx'"* ]] ||
  fail "unknown language: status $status, stderr: $err"
run QT_QPA_PLATFORM=offscreen "$vexa" stray-argument
[ "$status" -ne 0 ] && [[ $err == *stray-argument* ]] ||
  fail "stray argument: status $status, stderr: $err"

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
exit "$failures"
