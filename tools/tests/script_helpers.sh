# Helpers of the vexa-analyze test scripts. Source it; `failures` counts the
# checks that failed.
failures=0

# A board of 121 zeros with the given cells set: board CELL=VALUE ...
board() {
  local cells
  cells=$(printf '0%.0s' $(seq 121))
  for assignment in "$@"; do
    local cell=${assignment%=*} value=${assignment#*=}
    cells="${cells:0:cell}${value}${cells:cell+1}"
  done
  printf '%s' "$cells"
}

expect() {  # expect NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}
