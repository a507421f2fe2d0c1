#!/usr/bin/env bash
# test.sh and play.sh, run as root (as through sudo) or as the repository's
# owner, leave each other a build tree they can write; without sudo, missing
# packages are named with the command to run as root. Needs root, to act
# both parts; skipped otherwise.
set -u
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/stand_ins.sh"
user=nobody
chown -R "$user": "$repo"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
as_root() { env DISPLAY=:0 PATH="$stand_ins:$PATH" bash "$@" >"$work/out" 2>&1; }
as_user() { runuser -u "$user" -- env DISPLAY=:0 PATH="$stand_ins:$PATH" bash "$@" >"$work/out" 2>&1; }
owned_by_others() { find "$repo" ! -user "$user" | sed "s|$repo/||"; }

as_root "$repo/scripts/test.sh" || fail "test.sh as root: $(cat "$work/out")"
[ -z "$(owned_by_others)" ] || fail "test.sh as root left files of root: $(owned_by_others)"
grep -q "^cmake -S .*(uid 0)" "$log" && fail "test.sh as root built as root"
as_user "$repo/scripts/play.sh" || fail "play.sh as the user after root: $(cat "$work/out")"
as_root "$repo/scripts/play.sh" || fail "play.sh as root: $(cat "$work/out")"
[ -z "$(owned_by_others)" ] || fail "play.sh as root left files of root: $(owned_by_others)"
as_user "$repo/scripts/test.sh" || fail "test.sh as the user after root: $(cat "$work/out")"
grep -q "^vexa .*(uid $(id -u "$user"))" "$log" || fail "the game never ran as the user"

# A tree that a root run made before this rule: the user is told how to
# take it back.
chown -R root: "$repo/build"
as_user "$repo/scripts/play.sh" && fail "play.sh went on in a tree of root"
grep -q "sudo chown -R $user: $repo/build" "$work/out" || fail "no advice: $(cat "$work/out")"
chown -R "$user": "$repo/build"

# A user without sudo and a package missing: told what to run as root.
mkdir "$work/tools"
for tool in bash env id stat grep basename dirname nproc; do
  ln -s "$(command -v "$tool")" "$work/tools/$tool"
done
runuser -u "$user" -- env PATH="$stand_ins:$work/tools" STAND_IN_MISSING=xdotool DISPLAY=:0 \
  bash "$repo/scripts/play.sh" >"$work/out" 2>&1 && fail "play.sh without sudo went on"
grep -q "apt-get update && apt-get install .*xdotool" "$work/out" ||
  fail "no command to run as root: $(cat "$work/out")"
exit $((failures > 0))
