#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite: once as built for
# play, once under AddressSanitizer and UndefinedBehaviorSanitizer. Both runs
# happen even when the first fails; both summaries come at the end, and the
# exit status is non-zero when either failed.
set -uo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo_root/scripts/utf8_locale.sh"

# Setup installs and builds the plain tree; it stops this script when that
# fails, as there is nothing to test then.
source "$repo_root/scripts/setup.sh"
set +e

export QT_QPA_PLATFORM=offscreen
plain_log=$(mktemp) sanitize_log=$(mktemp)
trap 'rm -f "$plain_log" "$sanitize_log"' EXIT

ctest --test-dir "$build_dir" --output-on-failure --timeout 300 -j "$(nproc)" 2>&1 |
  tee "$plain_log"
plain_status=${PIPESTATUS[0]}

echo "--- the same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize_dir=${build_dir}-sanitize
sanitize_status=1
if cmake -S "$repo_root" -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVEXA_SANITIZE=ON -DVEXA_BUILD_BENCH=OFF >/dev/null &&
  cmake --build "$sanitize_dir" --parallel "$(nproc)"; then
  # The desktop's D-Bus library keeps a small allocation until exit; it is
  # not ours to free.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$repo_root/scripts/lsan.supp" \
    ctest --test-dir "$sanitize_dir" --output-on-failure --timeout 600 -j "$(nproc)" 2>&1 |
    tee "$sanitize_log"
  sanitize_status=${PIPESTATUS[0]}
else
  echo "the sanitizer build failed" >"$sanitize_log"
fi

summary() {  # LOG: ctest's count line and the tests it names as failed or skipped
  grep -E "tests passed|failed out of|\(Failed\)|\(Timeout\)|\(Not Run\)|\*\*\*Skipped|^the sanitizer" "$1" |
    grep -vE "^ *[0-9]+/[0-9]+ Test" || echo "(no summary: ctest did not run)"
}
echo
echo "=== plain build: $([ "$plain_status" -eq 0 ] && echo passed || echo FAILED)"
summary "$plain_log"
echo "=== sanitizer build: $([ "$sanitize_status" -eq 0 ] && echo passed || echo FAILED)"
summary "$sanitize_log"
[ "$plain_status" -eq 0 ] && [ "$sanitize_status" -eq 0 ]
