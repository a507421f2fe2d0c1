#!/usr/bin/env bash
# Starts the real program under Xvfb in a folder of its own, checks that its
# window appears with its title, then quits it through its menu and the
# quit question, as a person would, and checks that it exited cleanly. It
# runs under the POSIX locale (no LANG, no LC_*), as after `su -` or in a
# container: the player's Japanese name must still come back from the
# records file and go into it unchanged, in code page 932.
set -u
program=$1
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT

cp "$program" "$work/vexa"
# 太郎 in code page 932.
printf '\x91\xbe\x98\x59\r\n 1 \r\n 1 \r\n 0 \r\n' > "$work/Config"

source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 90

# Preferences of its own: the language the user chose does not reach it.
# The POSIX locale would choose English; --language keeps the Japanese
# texts, whose keys and titles the test uses.
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE -u LC_MESSAGES "$work/vexa" --language ja \
  >"$work/vexa.log" 2>&1 &
vexa_pid=$!

if ! window=$(wait_for_window '^Vexa with Online Ver1\.2$'); then
  echo "FAIL: no window titled 'Vexa with Online Ver1.2' appeared"
  cat "$work/vexa.log"
  exit 1
fi

# Quit as a person would: the menu's 終了 (Alt+G, Q), then Yes on the
# question (Enter). Each step waits for the window it opens.
visible() { xdotool search --onlyvisible --pid "$vexa_pid" 2>/dev/null | sort; }
wait_for_new_window() {  # prints the first visible window not in $1
  for _ in $(seq 100); do
    fresh=$(comm -13 <(printf '%s\n' "$1") <(visible) | head -n 1)
    [ -n "$fresh" ] && { echo "$fresh"; return 0; }
    sleep 0.1
  done
  return 1
}
xdotool windowfocus --sync "$window" 2>/dev/null
before=$(visible)
xdotool key --window "$window" alt+g
menu=$(wait_for_new_window "$before") || { echo "FAIL: the game menu did not open"; exit 1; }
before=$(visible)
xdotool key q
question=$(wait_for_new_window "$before") || { echo "FAIL: no quit question appeared"; exit 1; }
title=$(xdotool getwindowname "$question")
if [ "$title" != "Vexa with Online Ver1.2" ]; then
  echo "FAIL: the quit question is titled '$title'"
  exit 1
fi
# The question takes the keyboard once it is shown; on a slow build the key
# must wait for that.
xdotool windowfocus --sync "$question" 2>/dev/null
xdotool key --window "$question" Return

# A sanitized build on busy cores takes seconds to leave (its leak check
# runs at exit): up to a minute.
for _ in $(seq 600); do kill -0 "$vexa_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$vexa_pid" 2>/dev/null; then
  echo "FAIL: the program did not exit after the quit question"
  kill "$vexa_pid"
  exit 1
fi
wait "$vexa_pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: exit status $status"
  cat "$work/vexa.log"
  exit 1
fi
name=$(head -n 1 "$work/Config" | od -An -tx1 | tr -d ' \n')
if [ "$name" != "91be98590d0a" ]; then
  echo "FAIL: under the POSIX locale the records file's name line became $name"
  exit 1
fi
echo "vexa started under Xvfb in the POSIX locale, showed its window and quit cleanly"
