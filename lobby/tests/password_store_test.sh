#!/usr/bin/env bash
# Where the lobby password is kept. Without a secret service (no session
# bus) it goes to a file readable by its owner alone. With a real one
# (GNOME's keyring daemon on a session bus of the test's own, no desktop)
# it goes there, the file is removed, and no file of the test's holds the
# password in clear; it is read back from the service.
#
#   password_store_test.sh PASSWORD_STORE_PROBE
set -u
probe=$(realpath "$1")
source "$(dirname "$0")/../../scripts/utf8_locale.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
file=$work/config/lobby-password
secret=Wq7-not-in-clear-$$

# No secret service: the owner's file.
out=$(DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$probe" save "$file" lobby.test taro "$secret")
[ "$out" = "kept in the file" ] || fail "without a secret service: $out"
[ "$(stat -c %a "$file")" = 600 ] || fail "the file's mode is $(stat -c %a "$file")"
out=$(DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$probe" load "$file" lobby.test taro)
[ "$out" = "password $secret" ] || fail "read back from the file: $out"

for tool in dbus-run-session gnome-keyring-daemon secret-tool; do
  command -v "$tool" >/dev/null || {
    echo "SKIP: $tool is missing (scripts/setup.sh installs it); the file was checked"
    exit 77
  }
done
# A keyring of the test's own, unlocked with a password so that it is
# stored encrypted, on a session bus of its own.
export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat >"$work/in-session.sh" <<'SESSION'
set -u
probe=$1 file=$2 secret=$3
printf 'keyring-pass\n' | gnome-keyring-daemon --unlock --daemonize --components=secrets >/dev/null
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q true
}
for _ in $(seq 100); do owned && break; sleep 0.1; done
owned || { echo "the keyring daemon did not start"; exit 1; }
out=$("$probe" save "$file" lobby.test taro "$secret")
[ "$out" = "kept in the secret service" ] || { echo "with a secret service: $out"; exit 1; }
[ ! -e "$file" ] || { echo "the file still holds the password"; exit 1; }
[ "$(secret-tool lookup server lobby.test account taro)" = "$secret" ] ||
  { echo "the keyring has no such entry"; exit 1; }
out=$("$probe" load "$file" lobby.test taro)
[ "$out" = "password $secret" ] || { echo "read back from the secret service: $out"; exit 1; }
out=$("$probe" load "$file" lobby.test jiro)
[[ $out == none* ]] || { echo "another account's password: $out"; exit 1; }
SESSION
out=$(dbus-run-session -- bash "$work/in-session.sh" "$probe" "$file" "$secret" 2>"$work/session.err") ||
  fail "$out $(grep -v 'fd limit' "$work/session.err" | tail -n 5)"
grep -rqa -- "$secret" "$work" && fail "a file holds the password in clear: $(grep -rla -- "$secret" "$work")"
echo "the password: in an owner-only file without a secret service; in the keyring, and in clear nowhere, with one"
