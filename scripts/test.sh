#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test:
#   1. the whole suite under AddressSanitizer + UBSan,
#   2. the device library's threaded tests under ThreadSanitizer,
#   3. each fuzz target for a short, bounded time (clang, libFuzzer),
#   4. the Release package installed with apt-get on a fresh Debian 12 root
#      and started from its menu entry (SFIGMO_FRESH_INSTALL=0 leaves it out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# The fuzz runs share one time budget (5 minutes): each target gets an equal
# slice, so a new target shortens the others instead of lengthening CI.
fuzz_budget=${SFIGMO_FUZZ_BUDGET:-300}

echo "== build and test under AddressSanitizer + UBSan"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DSFIGMO_SANITIZE=address
(cd build-asan && ctest --output-on-failure --timeout 600)

echo "== device library under ThreadSanitizer"
bash scripts/build.sh build-tsan -DCMAKE_BUILD_TYPE=Debug -DSFIGMO_SANITIZE=thread -DSFIGMO_BUILD_GUI=OFF
(cd build-tsan && ctest --output-on-failure --timeout 600 -L threads)

echo "== fuzz targets"
bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSFIGMO_BUILD_GUI=OFF -DSFIGMO_BUILD_TESTS=OFF -DSFIGMO_BUILD_FUZZ=ON
shopt -s nullglob
targets=(build-fuzz/bin/fuzz-*)
fuzz_seconds=${SFIGMO_FUZZ_SECONDS:-$(( fuzz_budget / (${#targets[@]} > 0 ? ${#targets[@]} : 1) ))}
[ "$fuzz_seconds" -ge 10 ] || fuzz_seconds=10
echo "   ${#targets[@]} targets, ${fuzz_seconds} s each"
for f in "${targets[@]}"; do
  corpus="fuzz/corpus/$(basename "$f")"
  work=$(mktemp -d)
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  echo "-- $(basename "$f")"
  "$f" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work" "${seeds[@]}" 2>&1 | tail -n 4
  rm -rf "$work"
done
fresh="SKIPPED (SFIGMO_FRESH_INSTALL=0)"
if [ "${SFIGMO_FRESH_INSTALL:-1}" != 0 ]; then
  echo "== Release package on a fresh Debian 12"
  bash scripts/build.sh build-rel -DCMAKE_BUILD_TYPE=Release -DSFIGMO_BUILD_TESTS=OFF
  (cd build-rel && cpack -G DEB >cpack.log 2>&1) || { cat build-rel/cpack.log; exit 1; }
  mkdir -p build-fresh
  status=0
  (cd build-fresh && bash ../packaging/fresh-install-check.sh ../build-rel/sfigmo_*.deb root) || status=$?
  # 77: this machine cannot make a chroot; anything else is a real failure.
  case $status in
    0) fresh=passed ;;
    77) fresh="SKIPPED (this machine cannot make a chroot)" ;;
    *) exit $status ;;
  esac
fi
# A check that did not run must not read as passed.
if [ "$fresh" = passed ]; then
  echo "== all tests passed"
else
  echo "== all other tests passed; the fresh-install check was $fresh"
fi
