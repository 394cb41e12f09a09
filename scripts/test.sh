#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test:
#   1. the whole suite under AddressSanitizer + UBSan,
#   2. the device library's threaded tests under ThreadSanitizer,
#   3. each fuzz target for a short, bounded time (clang, libFuzzer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
fuzz_seconds=${SFIGMO_FUZZ_SECONDS:-30}

echo "== build and test under AddressSanitizer + UBSan"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DSFIGMO_SANITIZE=address
(cd build-asan && ctest --output-on-failure --timeout 600)

echo "== device library under ThreadSanitizer"
bash scripts/build.sh build-tsan -DCMAKE_BUILD_TYPE=Debug -DSFIGMO_SANITIZE=thread -DSFIGMO_BUILD_GUI=OFF
(cd build-tsan && ctest --output-on-failure --timeout 600 -L threads)

echo "== fuzz targets, ${fuzz_seconds} s each"
bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSFIGMO_BUILD_GUI=OFF -DSFIGMO_BUILD_TESTS=OFF -DSFIGMO_BUILD_FUZZ=ON
shopt -s nullglob
for f in build-fuzz/bin/fuzz-*; do
  corpus="fuzz/corpus/$(basename "$f")"
  work=$(mktemp -d)
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  echo "-- $(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work" "${seeds[@]}" 2>&1 | tail -n 4
  rm -rf "$work"
done
echo "== all tests passed"
