#!/usr/bin/env bash
# estimated-plans.sh: writes app/analysis/estimated_plans.cpp, the wisdom the
# installed FFTW's estimating planner makes for each transform size the
# autocorrelation uses (64 times 2^a 3^b 5^c, up to a full record's 11 520).
# Run it again when FFTW changes; test-analysis says when it is due.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/gen.cpp" <<'CPP'
#include <fftw3.h>

#include <cstdio>
#include <cstdlib>
#include <set>

int main() {
  std::set<int> sizes;
  for (int p2 = 1; p2 <= 180; p2 *= 2)
    for (int p3 = p2; p3 <= 180; p3 *= 3)
      for (int p5 = p3; p5 <= 180; p5 *= 5) sizes.insert(64 * p5);
  for (const int n : sizes) {
    fftw_forget_wisdom();
    double* x = fftw_alloc_real(n);
    fftw_complex* f = fftw_alloc_complex(n / 2 + 1);
    const fftw_plan plan = fftw_plan_dft_r2c_1d(n, x, f, FFTW_ESTIMATE);
    char* text = fftw_export_wisdom_to_string();
    std::printf("    {%d, R\"(%s)\"},\n", n, text);
    std::free(text);
    fftw_destroy_plan(plan);
    fftw_free(x);
    fftw_free(f);
  }
}
CPP
c++ -O1 -o "$work/gen" "$work/gen.cpp" $(pkg-config --cflags --libs fftw3)
out=$root/app/analysis/estimated_plans.cpp
{
  echo "// Written by scripts/estimated-plans.sh for $(pkg-config --modversion fftw3); do not edit."
  echo
  echo '#include "analysis/estimated_plans.h"'
  echo
  echo 'namespace sfigmo {'
  echo
  echo 'std::span<const EstimatedPlan> EstimatedPlans() {'
  echo '  static constexpr EstimatedPlan kPlans[] = {'
  "$work/gen"
  echo '  };'
  echo '  return kPlans;'
  echo '}'
  echo
  echo '}  // namespace sfigmo'
} >"$out"
echo "wrote $out" >&2
