#!/usr/bin/env bash
# The English translation is complete and up to date: lupdate over the
# program's sources into a copy of the checked-in .ts file must leave no
# text unfinished (a new or changed Japanese text) and must change nothing
# else (a text gone from the sources, or a file lupdate would rewrite).
#
#   translations_test.sh LUPDATE APP_SOURCE_DIR TS_FILE
set -u
lupdate=$1 sources=$2 ts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/copy.ts"
if ! "$lupdate" -silent -no-obsolete -locations none -I "$sources/.." "$sources"/*.cpp "$sources"/*.h \
  -ts "$work/copy.ts" >"$work/log" 2>&1; then
  echo "FAIL lupdate failed:"; cat "$work/log"; exit 1
fi
failures=0
unfinished=$(grep -c 'type="unfinished"' "$work/copy.ts")
if [ "$unfinished" -ne 0 ]; then
  echo "FAIL $unfinished texts have no English:"
  grep -B2 'type="unfinished"' "$work/copy.ts" | grep '<source>'
  failures=1
fi
if ! diff -u "$ts" "$work/copy.ts"; then
  echo "FAIL $(basename "$ts") is not what lupdate makes of the sources (run the target update_translations)"
  failures=1
fi
entries=$(grep -c '<message>' "$work/copy.ts")
[ "$entries" -gt 0 ] || { echo "FAIL no texts found"; failures=1; }
[ "$failures" -eq 0 ] && echo "all $entries texts translated"
exit "$failures"
