#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite: once as built for
# play, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

source "$repo_root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --timeout 300 -j "$(nproc)"

echo "--- the same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize_dir=${build_dir}-sanitize
cmake -S "$repo_root" -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVEXA_SANITIZE=ON -DVEXA_BUILD_BENCH=OFF >/dev/null
cmake --build "$sanitize_dir" --parallel "$(nproc)"
# The desktop's D-Bus library keeps a small allocation until exit; it is not
# ours to free.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$repo_root/scripts/lsan.supp" \
  ctest --test-dir "$sanitize_dir" --output-on-failure --timeout 600 -j "$(nproc)"
