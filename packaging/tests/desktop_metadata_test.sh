#!/usr/bin/env bash
# What desktops and software centres read: the desktop entry and the
# AppStream metainfo pass their validators, the type of the game records is
# recognised by content, every icon has the size its folder will claim, and
# the manual pages format without a warning.
#
#   desktop_metadata_test.sh SOURCE_DIR BUILT_PACKAGING_DIR VEXA_ANALYZE
set -u
source_dir=$1 built=$2 analyze=$3
resources=$source_dir/app/resources
failures=0
fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }

desktop-file-validate "$resources/vexa.desktop" || fail "desktop-file-validate"
for key in 'Name\[ja\]' GenericName Keywords; do
  grep -q "^$key=" "$resources/vexa.desktop" || fail "the desktop entry has no ${key//\\/}"
done
# A click on a vexa:// link opens the program with the link as its argument.
grep -q "^MimeType=.*x-scheme-handler/vexa;" "$resources/vexa.desktop" ||
  fail "the desktop entry does not take vexa:// links"
grep -q "^Exec=vexa %u$" "$resources/vexa.desktop" || fail "the desktop entry does not pass the link"
grep -q "^MimeType=.*text/x-vexa-record;" "$resources/vexa.desktop" ||
  fail "the desktop entry does not open game records"
appstreamcli validate --no-net --pedantic "$resources"/*.metainfo.xml || fail "appstreamcli validate"

# The records' type: a database made from the system's types and ours alone
# must tell a real record from other text by its first line, whatever the
# file is called. GIO asks the database as file managers do.
mime_xml=$resources/io.github.vexa.vexa.xml
xmllint --noout "$mime_xml" || fail "xmllint $mime_xml"
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/share/mime/packages" "$work/records"
  cp /usr/share/mime/packages/freedesktop.org.xml "$mime_xml" "$work/share/mime/packages/"
  XDG_DATA_DIRS=$work/share update-mime-database "$work/share/mime" || fail "update-mime-database"
  "$analyze" selfplay Easy Easy --games 1 --seed 1 --records "$work/records" >/dev/null
  record=$work/records/game-00000001.txt
  cp "$record" "$work/records/renamed"
  printf 'notes\n' >"$work/records/game-notes.txt"
  for expected in "$record text/x-vexa-record" "$work/records/renamed text/x-vexa-record" \
    "$work/records/game-notes.txt text/plain"; do
    file=${expected% *}
    type=$(XDG_DATA_HOME=$work/share XDG_DATA_DIRS=$work/share \
      gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    [ "$type" = "${expected##* }" ] || fail "$(basename "$file") is $type, not ${expected##* }"
  done
else
  echo "update-mime-database or gio missing: the records' type is not checked"
fi

# PNG: the width and height are the big-endian words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*2^24+$2*2^16+$3*2^8+$4 "x" $5*2^24+$6*2^16+$7*2^8+$8}'; }
[ "$(png_size "$resources/vexa.png")" = 64x64 ] || fail "vexa.png is not 64x64"
for size in 16 32 48 128 256; do
  [ "$(png_size "$resources/icons/vexa_$size.png")" = "${size}x$size" ] ||
    fail "icons/vexa_$size.png is $(png_size "$resources/icons/vexa_$size.png")"
done

# The warnings Debian's checker reports; for the Japanese page, groff
# cannot break lines between Japanese characters and says so, which is no
# fault of the page.
for page in "$built"/man/*.6.gz "$built"/man/ja/*.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  case $page in */ja/*)
    warnings=$(printf '%s\n' "$warnings" | grep -v -e "cannot adjust line" -e "can't break line") ;;
  esac
  [ -z "$warnings" ] || fail "$page: $warnings"
  zcat "$page" | grep -q '^\.SH' || fail "$page: no sections"
done

[ "$failures" -eq 0 ] && echo "desktop entry, metainfo, icons and manual pages: all checks passed"
exit "$failures"
