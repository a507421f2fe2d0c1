#!/usr/bin/env bash
# The English translation is complete and up to date: lupdate over the
# program's sources into a copy of the checked-in .ts file must leave no
# text unfinished (a new or changed Japanese text) and must change nothing
# else (a text gone from the sources, or a file lupdate would rewrite).
#
#   translations_test.sh LUPDATE APP_SOURCE_DIR TS_FILE [--update]
#
# With --update it writes what lupdate made into TS_FILE instead (new texts
# then stand there unfinished, to be translated by hand).
set -u
lupdate=$1 sources=$2 ts=$3 update=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/copy.ts"
# The program's own sources in every folder of app/, not its tests; sorted,
# so that the order of the texts does not hang on the file system.
mapfile -t files < <(find "$sources" -path "$sources/tests" -prune -o -path "$sources/drive" -prune \
  -o \( -name '*.cpp' -o -name '*.h' \) -print | LC_ALL=C sort)
if ! "$lupdate" -silent -no-obsolete -locations none -I "$sources/.." "${files[@]}" \
  -ts "$work/copy.ts" >"$work/log" 2>&1; then
  echo "FAIL lupdate failed:"; cat "$work/log"; exit 1
fi
if [ "$update" = --update ]; then
  cp "$work/copy.ts" "$ts"
  echo "updated $ts"
  exit 0
fi
failures=0
unfinished=$(grep -c 'type="unfinished"' "$work/copy.ts")
if [ "$unfinished" -ne 0 ]; then
  echo "FAIL $unfinished texts have no English:"
  grep -B2 'type="unfinished"' "$work/copy.ts" | grep '<source>'
  failures=1
fi
if ! diff -u "$ts" "$work/copy.ts"; then
  echo "FAIL $(basename "$ts") is not what lupdate makes of the sources (bash app/tests/translations_test.sh /usr/lib/qt6/bin/lupdate app app/translations/vexa_en.ts --update)"
  failures=1
fi
entries=$(grep -c '<message>' "$work/copy.ts")
[ "$entries" -gt 0 ] || { echo "FAIL no texts found"; failures=1; }
[ "$failures" -eq 0 ] && echo "all $entries texts translated"
exit "$failures"
