#!/usr/bin/env bash
# The long reliability runs, with their figures on standard output:
#   - the soak: 300 games of two vexa-bot processes through meddling-proxy,
#     then 20 runs cut by the proxy (scripts/soak.sh);
#   - 1000 kills of a program saving the records file;
#   - 10,000 damaged records files at start-up, built with AddressSanitizer
#     and UndefinedBehaviorSanitizer in BUILD_DIR-asan (only that program);
#   - 500 connect-play-leave cycles of two programs in one process.
#
#   scripts/reliability.sh [BUILD_DIR]      (default build; builds what it runs)
set -u
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$repo_root/build}
asan=$build-asan
status=0
step() { echo; echo "== $*"; }
timed() { local start=$SECONDS; "$@"; local s=$?; echo "($(( SECONDS - start )) s, exit status $s)"; [ $s -eq 0 ] || status=1; }

nice -n 10 cmake --build "$build" --parallel 2 \
  --target vexa-bot meddling-proxy records_kill_test online_leak_cycles >/dev/null || exit 1

step "soak: 300 games, then 20 cuts"
timed bash "$repo_root/scripts/soak.sh" --bot "$build/bot/vexa-bot" \
  --proxy "$build/reliability/meddling-proxy" --games 300 --cuts 20

step "1000 kills during saves"
timed "$build/reliability/records_kill_test" --rounds 1000 --seed 1

step "500 connect-play-leave cycles"
timed env QT_QPA_PLATFORM=offscreen "$build/reliability/online_leak_cycles" --cycles 500

step "10,000 damaged records files, ASan and UBSan"
[ -f "$asan/CMakeCache.txt" ] ||
  cmake -S "$repo_root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_SANITIZE=ON \
    -DVEXA_BUILD_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$asan" --parallel 2 --target records_damage_test >/dev/null || exit 1
timed env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$repo_root/scripts/lsan.supp \
  "$asan/reliability/records_damage_test" --files 10000 --seed 1
exit $status
