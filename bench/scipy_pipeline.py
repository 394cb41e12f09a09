#!/usr/bin/env python3
"""scipy_pipeline.py [--analyze PROGRAM] [--rounds N] FOLDER

The minimal pipeline a Python user would run over a folder of .pul records
that share one sample rate: the band-pass filter designed once, then for
each record filtfilt, find_peaks with a minimum distance, and the interval
mean, SD and range. The records are read into memory first; only the
pipeline is timed, one pass over all of them per round.

With --analyze, each round first runs `PROGRAM --json FOLDER` (the whole
process, files and output included), then the pass, so both are timed side
by side under the same load. Prints one line per round:
  analyze_wall analyze_cpu scipy_wall scipy_cpu
in microseconds per record (analyze_* are 0 without --analyze), and on
stderr what the pipeline found, to see that it found the beats."""

import argparse
import os
import struct
import subprocess
import sys
import time

import numpy as np
from scipy.signal import butter, filtfilt, find_peaks

SAMPLE_PERIOD_AT, SAMPLE_COUNT_AT, SAMPLES_AT, MAX_SAMPLES = 336, 344, 348, 10901


def read_record(path):
    with open(path, "rb") as f:
        data = f.read()
    period = struct.unpack_from("<d", data, SAMPLE_PERIOD_AT)[0]
    count = min(struct.unpack_from("<H", data, SAMPLE_COUNT_AT)[0], MAX_SAMPLES)
    samples = np.frombuffer(data, dtype="<i4", count=count, offset=SAMPLES_AT).astype(float)
    return samples, period


def pipeline(samples, period, b, a, distance):
    wave = filtfilt(b, a, samples)
    # The beats are the deep negative swings; at most 240 per minute.
    peaks, _ = find_peaks(-wave, distance=distance)
    intervals = np.diff(peaks) * period
    return len(peaks), intervals.mean(), intervals.std(ddof=1), np.ptp(intervals)


def pass_over(records, b, a, distance):
    """Wall and CPU seconds of one pass, and the last record's findings."""
    start, start_cpu = time.perf_counter(), time.process_time()
    for samples, period in records:
        found = pipeline(samples, period, b, a, distance)
    return time.perf_counter() - start, time.process_time() - start_cpu, found


def run_analyze(program, folder):
    """Wall and CPU (user + system) seconds of one sfigmo-analyze process."""
    start = time.perf_counter()
    child = subprocess.Popen([program, "--json", folder], stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit("%s failed (status %d)" % (program, status))
    return wall, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--analyze")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("folder")
    args = parser.parse_args()

    names = sorted(n for n in os.listdir(args.folder) if n.lower().endswith(".pul"))
    records = [read_record(os.path.join(args.folder, n)) for n in names]
    rate = 1.0 / records[0][1]
    # Designed once: every record shares the rate.
    b, a = butter(2, [0.5, 8.0], btype="bandpass", fs=rate)
    distance = int(0.25 * rate)

    per = 1e6 / len(records)
    pass_over(records, b, a, distance)  # warm up
    if args.analyze:
        run_analyze(args.analyze, args.folder)
    for _ in range(args.rounds):
        aw = ac = 0.0
        if args.analyze:
            aw, ac = run_analyze(args.analyze, args.folder)
        sw, sc, found = pass_over(records, b, a, distance)
        print("%.1f %.1f %.1f %.1f" % (aw * per, ac * per, sw * per, sc * per), flush=True)
    beats, mean, sd, spread = found
    print("scipy: %d records; the last: %d beats, interval mean %.3f s, SD %.3f s, range %.3f s"
          % (len(records), beats, mean, sd, spread), file=sys.stderr)


if __name__ == "__main__":
    main()
