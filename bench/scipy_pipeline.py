#!/usr/bin/env python3
"""scipy_pipeline.py RECORD.pul [RUNS]: the minimal pulse pipeline a Python
user would write, timed on the samples of one record already in memory:
band-pass (butter + filtfilt), beats (find_peaks), interval mean, SD and
range. Prints the median wall and processor time of one run in
microseconds and, on stderr, what it found (to see that it found the beats)."""

import struct
import sys
import time

import numpy as np
from scipy.signal import butter, filtfilt, find_peaks

SAMPLE_PERIOD_AT, SAMPLE_COUNT_AT, SAMPLES_AT, MAX_SAMPLES = 336, 344, 348, 10901


def read_record(path):
    data = open(path, "rb").read()
    period = struct.unpack_from("<d", data, SAMPLE_PERIOD_AT)[0]
    count = min(struct.unpack_from("<H", data, SAMPLE_COUNT_AT)[0], MAX_SAMPLES)
    samples = np.frombuffer(data, dtype="<i4", count=count, offset=SAMPLES_AT).astype(float)
    return samples, period


def pipeline(samples, period):
    rate = 1.0 / period
    b, a = butter(2, [0.5, 8.0], btype="bandpass", fs=rate)
    wave = filtfilt(b, a, samples)
    # The beats are the deep negative swings; at most 240 per minute.
    peaks, _ = find_peaks(-wave, distance=int(0.25 * rate), prominence=np.std(wave))
    intervals = np.diff(peaks) * period
    return len(peaks), intervals.mean(), intervals.std(ddof=1), np.ptp(intervals)


def main():
    samples, period = read_record(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    result = pipeline(samples, period)  # warm up
    wall, cpu = [], []
    for _ in range(runs):
        start, start_cpu = time.perf_counter_ns(), time.process_time_ns()
        pipeline(samples, period)
        cpu.append(time.process_time_ns() - start_cpu)
        wall.append(time.perf_counter_ns() - start)
    print("%.1f %.1f" % (float(np.median(wall)) / 1000.0, float(np.median(cpu)) / 1000.0))
    beats, mean, sd, spread = result
    print("scipy: %d beats, interval mean %.3f s, SD %.3f s, range %.3f s"
          % (beats, mean, sd, spread), file=sys.stderr)


if __name__ == "__main__":
    main()
