#!/usr/bin/env bash
# bench/report.sh [--analysis] [BUILD_DIR]: builds the benchmarks in Release
# (default build-bench/) and prints one Markdown table of the figures on this
# machine. A figure whose benchmark is not part of the project yet reads "not
# built yet". The analysis is also set against the minimal scipy pipeline
# (bench/scipy_pipeline.py, Debian python3-scipy, installed when missing and
# apt-get may): sfigmo-analyze --json over 200 maximal records and the
# pipeline over the same records run side by side, round after round, and
# the ratio given as the median and spread of the rounds, with the load
# average. --analysis builds and prints only those analysis rows.
# SFIGMO_ROUNDS sets the number of side-by-side rounds (default 9).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
only_analysis=false
if [ "${1:-}" = --analysis ]; then
  only_analysis=true
  shift
fi
build=${1:-$root/build-bench}
rounds=${SFIGMO_ROUNDS:-9}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
targets=()
$only_analysis && targets=(--target sfigmo-analyze pul-sample bench-analysis)
echo "building the benchmarks (Release) in $build ..." >&2
mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSFIGMO_BUILD_BENCH=ON \
  -DSFIGMO_BUILD_TESTS=OFF "${launcher[@]}" &&
  cmake --build "$build" --parallel "${SFIGMO_JOBS:-$(nproc)}" "${targets[@]}"; } >"$build/report-build.log" 2>&1; then
  tail -n 30 "$build/report-build.log" >&2
  exit 1
fi
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The CSV lines of the first benchmark binary that has benchmarks matching
# the regex, run with that filter (and any further options); empty when none has.
bench_csv_args() {
  local filter=$1 b
  shift
  for b in "$bin"/bench-*; do
    [ -x "$b" ] || continue
    if QT_QPA_PLATFORM=offscreen "$b" --benchmark_list_tests --benchmark_filter="$filter" 2>/dev/null | grep -q .; then
      echo "running $(basename "$b") $filter ..." >&2
      QT_QPA_PLATFORM=offscreen "$b" --benchmark_filter="$filter" --benchmark_format=csv "$@" 2>/dev/null |
        sed -n '/^name,/,$p'
      return
    fi
  done
}
bench_csv() { bench_csv_args "$1"; }

# Column NAME (a header field, unquoted) of CSV line number N (1 = header).
column() {
  awk -F, -v want="$1" -v row="$2" '
    NR == 1 { for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); if (h == want) c = i } }
    NR == row && c { v = $c; gsub(/"/, "", v); print v }'
}

# Real time of the benchmark row as milliseconds.
millis() {
  local csv=$1 row=$2 t u
  t=$(column real_time "$row" <<<"$csv")
  u=$(column time_unit "$row" <<<"$csv")
  awk -v t="$t" -v u="$u" 'BEGIN {
    f = (u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : (u == "ms") ? 1 : 1000
    printf "%.3g ms", t * f }'
}

row() { printf '| %s | %s | %s |\n' "$1" "$2" "$3"; }
missing() { row "$1" "not built yet" "—"; }

# A figure that is the time of one benchmark.
timed() {
  local label=$1 filter=$2 csv
  csv=$(bench_csv "$filter")
  if [ -z "$csv" ]; then missing "$label"; return; fi
  local name
  name=$(column name 2 <<<"$csv")
  row "$label" "$(millis "$csv" 2)" "$(bench_csv_source "$filter") $name"
}
bench_csv_source() {
  local b
  for b in "$bin"/bench-*; do
    if QT_QPA_PLATFORM=offscreen "$b" --benchmark_list_tests --benchmark_filter="$1" 2>/dev/null | grep -q .; then
      basename "$b"
      return
    fi
  done
}

stream_rows() {
  local csv
  csv=$(bench_csv '^BM_StreamRate/')
  if [ -z "$csv" ]; then
    missing "Frame rate without loss over the pseudo-terminal"
    missing "Reader CPU, streaming (50 samples/s)"
  else
    local n best="" best_rate="" cpu50="" i name fps lost cpu
    n=$(wc -l <<<"$csv")
    for ((i = 2; i <= n; i++)); do
      name=$(column name "$i" <<<"$csv")
      fps=$(column frames/s "$i" <<<"$csv")
      lost=$(column lost "$i" <<<"$csv")
      cpu=$(column reader_cpu_s_per_s "$i" <<<"$csv")
      rate=$(cut -d/ -f2 <<<"$name")
      [ "$rate" = 50 ] && cpu50=$cpu
      if [ -n "$fps" ] && awk -v l="$lost" 'BEGIN { exit !(l == 0) }'; then
        best=$fps best_rate=$rate
      fi
    done
    row "Frame rate without loss over the pseudo-terminal" \
      "$(printf '%.0f' "${best:-0}") frames/s (${best_rate:-?} samples/s requested)" \
      "bench-sensordrv BM_StreamRate"
    row "Reader CPU, streaming (50 samples/s)" \
      "$(awk -v c="${cpu50:-0}" 'BEGIN { printf "%.2f %%", c * 100 }')" \
      "bench-sensordrv BM_StreamRate/50"
  fi
  csv=$(bench_csv '^BM_ReaderIdle')
  if [ -z "$csv" ]; then
    missing "Reader CPU, idle"
  else
    row "Reader CPU, idle" \
      "$(awk -v c="$(column reader_cpu_s_per_s 2 <<<"$csv")" 'BEGIN { printf "%.2f %%", c * 100 }')" \
      "bench-sensordrv BM_ReaderIdle"
  fi
}

# Median real and CPU time in microseconds ("REAL CPU") of a benchmark run
# with repetitions.
median_micros() {
  local csv row n name
  csv=$(bench_csv_args "$1" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true)
  n=$(wc -l <<<"$csv")
  for ((row = 2; row <= n; row++)); do
    name=$(column name "$row" <<<"$csv")
    if [[ $name == *_median ]]; then
      awk -v r="$(column real_time "$row" <<<"$csv")" -v c="$(column cpu_time "$row" <<<"$csv")" \
        -v u="$(column time_unit "$row" <<<"$csv")" 'BEGIN {
          f = (u == "ns") ? 1e-3 : (u == "us") ? 1 : (u == "ms") ? 1e3 : 1e6
          printf "%.1f %.1f", r * f, c * f }'
      return
    fi
  done
}

# "REAL CPU" pairs as a table value, and the ratio of two pairs.
pair() { awk -v p="$1" 'BEGIN { split(p, v, " "); printf "%s µs (CPU %s µs)", v[1], v[2] }'; }
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ")
    printf "%.2f (CPU %.2f)", x[1] / y[1], x[2] / y[2] }'
}

# A Python with scipy: Debian's, installed when missing and apt-get may.
scipy_python() {
  local py
  for py in /usr/bin/python3 python3; do
    if command -v "$py" >/dev/null && "$py" -c 'import scipy' 2>/dev/null; then
      echo "$py"
      return
    fi
  done
  if command -v apt-get >/dev/null && [ "$(id -u)" = 0 ]; then
    echo "installing python3-scipy ..." >&2
    if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-scipy >&2 ||
      { apt-get update -qq >&2 && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-scipy >&2; }; then
      /usr/bin/python3 -c 'import scipy' 2>/dev/null && echo /usr/bin/python3
    fi
  fi
}

# Median of column C of the lines on stdin.
median_of() {
  awk -v c="$1" '{ print $c }' | sort -g | awk '{ v[NR] = $1 } END {
    if (NR) printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The ratio of columns A / B of each line on stdin: "median (min to max)".
ratio_spread() {
  awk -v a="$1" -v b="$2" '{ printf "%.6f\n", $a / $b }' | sort -g | awk '{ v[NR] = $1 } END {
    if (!NR) exit
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f (%.2f to %.2f)", m, v[1], v[NR] }'
}

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

# The full analysis and the command-line analyser against the minimal scipy
# pipeline, on maximal resting records (10 901 samples, 94 beats).
scipy_rows() {
  local label_full="Full analysis of a maximal resting record (10 901 samples, 94 beats), quality check included"
  local label_cli="sfigmo-analyze --json over 200 such records, per record (process and files included)"
  local label_py="scipy pipeline over the same records in memory (filter designed once; filtfilt, find_peaks with a minimum distance, interval mean/SD/range), per record"
  local label_ratio="Ratio: sfigmo-analyze per record / scipy, median of $rounds side-by-side rounds (spread)"
  local i
  if [ ! -x "$bin/pul-sample" ] || [ ! -x "$bin/sfigmo-analyze" ]; then
    missing "$label_full"
    return
  fi
  mkdir -p "$work/records"
  "$bin/pul-sample" --maximal "$work/records/0000.pul"
  for ((i = 1; i < 200; i++)); do cp "$work/records/0000.pul" "$work/records/$(printf %04d "$i").pul"; done

  local full
  full=$(median_micros '^BM_FullAnalysisOfRestingRecord$')
  if [ -n "$full" ]; then
    row "$label_full" "$(pair "$full")" "bench-analysis BM_FullAnalysisOfRestingRecord (median of 7)"
  else
    missing "$label_full"
  fi
  local py
  py=$(scipy_python)
  if [ -z "$py" ]; then
    row "$label_py" "python3-scipy not installed" "—"
    return
  fi
  local before after runs
  echo "running sfigmo-analyze --json and the scipy pipeline side by side, $rounds rounds ..." >&2
  before=$(load_average)
  runs=$("$py" "$root/bench/scipy_pipeline.py" --analyze "$bin/sfigmo-analyze" --rounds "$rounds" \
    "$work/records" 2>/dev/null)
  after=$(load_average)
  local cli scipy
  cli="$(median_of 1 <<<"$runs") $(median_of 2 <<<"$runs")"
  scipy="$(median_of 3 <<<"$runs") $(median_of 4 <<<"$runs")"
  row "$label_cli" "$(pair "$cli")" "bench/scipy_pipeline.py --analyze (median of $rounds rounds)"
  row "$label_py" "$(pair "$scipy")" "bench/scipy_pipeline.py (median of $rounds rounds)"
  [ -n "$full" ] && row "Ratio: full analysis / scipy" "$(ratio "$full" "$scipy")" "target at most 0.2"
  row "$label_ratio" "$(ratio_spread 1 3 <<<"$runs") (CPU $(ratio_spread 2 4 <<<"$runs"))" \
    "target at most 0.33"
  row "Load average (1, 5, 15 min) before and after the side-by-side rounds" "$before; $after" "/proc/loadavg"
}

startup_row() {
  local label='Program start to "      ГОТОВО" (sensor-sim, Xvfb, median of 5)'
  if [ ! -x "$bin/sfigmo" ] || [ ! -x "$bin/sensor-sim" ]; then missing "$label"; return; fi
  echo "starting sfigmo five times ..." >&2
  local ms
  if ms=$(bash "$root/bench/startup.sh" "$bin" 5); then
    row "$label" "$ms ms" "bench/startup.sh"
  else
    row "$label" "failed" "bench/startup.sh"
  fi
}

{
  echo "| figure | value | measured by |"
  echo "|---|---|---|"
  if $only_analysis; then
    scipy_rows
  else
    timed "Full analysis of a maximal record (10 901 samples, dense beats)" '^BM_FullAnalysis$'
    timed "Read plus analysis of a maximal record" '^BM_ReadRecordAndAnalyse$'
    scipy_rows
    stream_rows
    startup_row
    timed "Archive listing of 10 000 records (list filled and sorted)" '^BM_ListArchive/10000'
    timed "Trend over 300 records (read, graph drawn)" '^BM_Trend300'
    timed "Record to finished PDF (read, page, libdspdf.so, PDF on disk)" '^BM_RecordToPdf$'
    timed "Archive of 10 000 records to CSV (list, read, judge, sort, text)" '^BM_CsvArchive10000'
    timed "Maximal record to EDF+ (10 901 samples, 99 beats, in memory)" '^BM_EdfMaximalRecord$'
  fi
} >"$work/table"

echo
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores," \
  "$(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo) RAM;" \
  "Debian $(cat /etc/debian_version 2>/dev/null || echo ?), kernel $(uname -r);" \
  "$("$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")" --version | head -n 1);" \
  "$(date -u '+%Y-%m-%d %H:%M UTC')"
echo
cat "$work/table"
