#!/usr/bin/env bash
# play.sh without a graphical session says so in one line and fails, before
# it installs or builds anything.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/stand_ins.sh"

output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$stand_ins:$PATH" \
  bash "$repo/scripts/play.sh" 2>&1)
status=$?
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$status" -ne 0 ] || fail "exit status 0"
[ "$(printf '%s\n' "$output" | wc -l)" -eq 1 ] || fail "more than one line: $output"
case $output in
  *"graphical session"*DISPLAY*WAYLAND_DISPLAY*) ;;
  *) fail "the line does not name the graphical session: $output" ;;
esac
[ ! -s "$log" ] || fail "tools ran: $(cat "$log")"
exit $((failures > 0))
