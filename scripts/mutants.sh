#!/usr/bin/env bash
# Puts each deliberate fault of scripts/mutants.txt into the source, one at a
# time, rebuilds the tree and runs the suite, then restores the file. A fault
# is caught when the suite fails (or the tree no longer builds); one the
# suite passes with is a survivor. Takes minutes: a rebuild and a run of the
# plain suite for every fault.
#
#   scripts/mutants.sh [BUILD_DIR] [LIST]      (defaults build, scripts/mutants.txt)
#
# The list: a line "# text" describes the fault on the next line, which is
# "FILE SED-SCRIPT" (the script is the rest of the line). The tree must be
# built first (scripts/test.sh or scripts/setup.sh). Exit status: 0 when
# every fault was caught, 1 when one survived or did not apply.
set -uo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(realpath "${1:-$repo_root/build}")
list=${2:-$repo_root/scripts/mutants.txt}
[ -f "$build_dir/CMakeCache.txt" ] || { echo "mutants.sh: $build_dir is not a build tree" >&2; exit 2; }

backup=$(mktemp) log=$(mktemp)
current=""
restore() {
  [ -n "$current" ] && cp "$backup" "$repo_root/$current"
  current=""
}
trap 'restore; rm -f "$backup" "$log"' EXIT
trap 'exit 130' INT TERM

export QT_QPA_PLATFORM=offscreen
caught=0 survived=0 unapplied=0 number=0 what=""
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    "") continue ;;
    "# "*) what=${line#\# }; continue ;;
    "#"*) continue ;;
  esac
  read -r file script <<<"$line"
  number=$((number + 1))
  label=$(printf '%2d %s' "$number" "${what:-$file}")
  what=""
  if [ ! -f "$repo_root/$file" ]; then
    echo "NOT APPLIED $label: no file $file"; unapplied=$((unapplied + 1)); continue
  fi
  cp "$repo_root/$file" "$backup"
  current=$file
  sed -i -e "$script" "$repo_root/$file"
  if cmp -s "$backup" "$repo_root/$file"; then
    echo "NOT APPLIED $label: '$script' changes nothing in $file"
    unapplied=$((unapplied + 1)); restore; continue
  fi
  start=$(date +%s)
  if ! cmake --build "$build_dir" >"$log" 2>&1; then
    verdict="CAUGHT (does not build)"
  elif ctest --test-dir "$build_dir" --timeout 300 -j "$(nproc)" --stop-on-failure >"$log" 2>&1; then
    verdict="SURVIVED"
  else
    failed=$(grep -m 3 -oE '[0-9]+ - [^ ]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)' "$log" |
      sed -E 's/^[0-9]+ - //; s/ \(.*//' | paste -sd, -)
    verdict="CAUGHT by ${failed:-the suite}"
  fi
  restore
  echo "$verdict $label ($(( $(date +%s) - start )) s)"
  case "$verdict" in CAUGHT*) caught=$((caught + 1)) ;; *) survived=$((survived + 1)) ;; esac
done <"$list"
# Leave the tree built as it is in the source.
cmake --build "$build_dir" >/dev/null 2>&1

total=$((caught + survived))
echo "caught $caught of $total${total:+ ($(( total ? 100 * caught / total : 0 )) %)}, survived $survived, not applied $unapplied"
[ "$survived" -eq 0 ] && [ "$unapplied" -eq 0 ]
