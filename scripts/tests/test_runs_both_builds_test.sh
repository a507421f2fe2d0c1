#!/usr/bin/env bash
# scripts/test.sh with the plain suite failing: the sanitizer build still
# runs, both summaries come at the end, and the exit status is non-zero.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/stand_ins.sh"
# ctest fails in the plain tree and passes in the sanitizer's.
stand_in ctest 'case $2 in
  *-sanitize) echo "100% tests passed, 0 tests failed out of 3" ;;
  *) echo "67% tests passed, 1 tests failed out of 3"; echo "  2 - lan (Failed)"; exit 8 ;;
esac'

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
env -i PATH="$stand_ins:$PATH" HOME="$work" STAND_IN_LOG="$log" bash "$repo/scripts/test.sh" >"$work/out" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "test.sh exited 0 with a suite failing"
grep -q "^ctest --test-dir .*-sanitize" "$log" || fail "the sanitizer suite did not run: $(cat "$log")"
grep -A3 "=== plain build: FAILED" "$work/out" | grep -q "2 - lan (Failed)" ||
  fail "no plain summary naming the failure: $(cat "$work/out")"
grep -A2 "=== sanitizer build: passed" "$work/out" | grep -q "100% tests passed" ||
  fail "no sanitizer summary: $(cat "$work/out")"
exit $((failures > 0))
