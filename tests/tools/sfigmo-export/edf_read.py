#!/usr/bin/env python3
"""edf_read.py FILE.edf: reads an EDF+ file by the format's published
definition (no code of the writer under test), checks the header and the
annotation lists, and prints what it read as one JSON object. Exit code 1
with the reason on stderr when the file breaks a rule."""

import json
import re
import struct
import sys

MONTHS = ["JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"]


class Invalid(Exception):
    pass


def need(cond, what):
    if not cond:
        raise Invalid(what)


def ascii_field(raw, name):
    need(all(32 <= b <= 126 for b in raw), f"{name}: not printable ASCII: {raw!r}")
    text = raw.decode("ascii")
    need(not text.startswith(" ") or not text.strip(), f"{name}: not left-justified: {text!r}")
    return text.rstrip(" ")


def number(text, name, kind=float):
    need(re.fullmatch(r"[+-]?\d+(\.\d+)?", text) is not None, f"{name}: not a number: {text!r}")
    value = kind(text) if kind is int or "." not in text else float(text)
    return value


def check_date_subfield(text, name):
    need(text == "X" or re.fullmatch(r"\d\d-(%s)-\d{4}" % "|".join(MONTHS), text), f"{name}: {text!r}")


def parse_tals(data, name):
    """The time-stamped annotation lists of one data record."""
    tals = []
    pos = 0
    while pos < len(data) and data[pos] != 0:
        end = data.index(b"\x00", pos)
        tal = data[pos:end]
        need(tal.endswith(b"\x14"), f"{name}: TAL without closing 0x14: {tal!r}")
        parts = tal[:-1].split(b"\x14")
        stamp = parts[0].split(b"\x15")
        need(re.fullmatch(rb"[+-]\d+(\.\d+)?", stamp[0]) is not None, f"{name}: onset {stamp[0]!r}")
        duration = None
        if len(stamp) == 2:
            need(re.fullmatch(rb"\d+(\.\d+)?", stamp[1]) is not None, f"{name}: duration {stamp[1]!r}")
            duration = float(stamp[1])
        need(len(stamp) <= 2, f"{name}: two durations")
        texts = [p.decode("utf-8") for p in parts[1:]]
        tals.append({"onset": float(stamp[0]), "onset_text": stamp[0].decode(), "duration": duration, "texts": texts})
        pos = end + 1
    need(all(b == 0 for b in data[pos:]), f"{name}: bytes after the last TAL")
    return tals


def read(path):
    blob = open(path, "rb").read()
    need(len(blob) >= 256, "shorter than a header")
    h = blob[:256]
    out = {}
    need(h[0:8] == b"0       ", "version")
    out["patient"] = ascii_field(h[8:88], "patient")
    out["recording"] = ascii_field(h[88:168], "recording")
    out["startdate"] = ascii_field(h[168:176], "startdate")
    out["starttime"] = ascii_field(h[176:184], "starttime")
    header_bytes = number(ascii_field(h[184:192], "header bytes"), "header bytes", int)
    reserved = ascii_field(h[192:236], "reserved")
    records = number(ascii_field(h[236:244], "records"), "records", int)
    duration_text = ascii_field(h[244:252], "duration")
    duration = number(duration_text, "duration")
    ns = number(ascii_field(h[252:256], "signals"), "signals", int)
    need(reserved.startswith("EDF+C"), f"reserved {reserved!r}")
    need(records >= 1 and duration > 0 and ns >= 1, "counts")
    need(header_bytes == 256 * (ns + 1), "header bytes")
    m = re.fullmatch(r"(\d\d)\.(\d\d)\.(\d\d|yy)", out["startdate"])
    need(m is not None and 1 <= int(m[1]) <= 31 and 1 <= int(m[2]) <= 12, "startdate")
    t = re.fullmatch(r"(\d\d)\.(\d\d)\.(\d\d)", out["starttime"])
    need(t is not None and int(t[1]) < 24 and int(t[2]) < 60 and int(t[3]) < 60, "starttime")

    # EDF+ identification fields.
    p = out["patient"].split(" ")
    need(len(p) >= 4, f"patient subfields {p}")
    need(p[1] in ("M", "F", "X"), f"sex {p[1]!r}")
    check_date_subfield(p[2], "birthdate")
    r = out["recording"].split(" ")
    need(len(r) >= 5 and r[0] == "Startdate", f"recording subfields {r}")
    check_date_subfield(r[1], "recording startdate")
    if r[1] != "X" and m[3] != "yy":
        need(r[1][0:2] == m[1] and MONTHS.index(r[1][3:6]) + 1 == int(m[2]) and r[1][-2:] == m[3],
             "recording startdate differs from the header's")

    hs = blob[256:header_bytes]
    need(len(hs) == 256 * ns, "signal headers")
    widths = [("label", 16), ("transducer", 80), ("dimension", 8), ("physmin", 8), ("physmax", 8),
              ("digmin", 8), ("digmax", 8), ("prefilter", 80), ("spr", 8), ("reserved", 32)]
    signals = [dict() for _ in range(ns)]
    pos = 0
    for key, width in widths:
        for s in signals:
            s[key] = ascii_field(hs[pos:pos + width], key)
            pos += width
    for s in signals:
        for key in ("physmin", "physmax"):
            s[key] = number(s[key], key)
        for key in ("digmin", "digmax", "spr"):
            s[key] = number(s[key], key, int)
        need(-32768 <= s["digmin"] < s["digmax"] <= 32767, "digital range")
        need(s["physmin"] != s["physmax"], "physical range")
        need(s["spr"] >= 1, "samples per record")
    labels = [s["label"] for s in signals]
    need(labels.count("EDF Annotations") == 1, "one annotation signal")
    out["signals"] = signals
    out["records"] = records
    out["duration"] = duration
    out["duration_text"] = duration_text

    record_bytes = sum(2 * s["spr"] for s in signals)
    need(len(blob) == header_bytes + records * record_bytes,
         f"file size {len(blob)} != {header_bytes} + {records} x {record_bytes}")
    samples = [[] for _ in signals]
    annotations = []
    at = header_bytes
    for rec in range(records):
        for i, s in enumerate(signals):
            chunk = blob[at:at + 2 * s["spr"]]
            at += 2 * s["spr"]
            if s["label"] == "EDF Annotations":
                tals = parse_tals(chunk, f"record {rec}")
                need(tals and tals[0]["texts"] == [""], f"record {rec}: no time-keeping TAL first")
                need(abs(tals[0]["onset"] - rec * duration) < 1e-9, f"record {rec}: start {tals[0]['onset']}")
                for tal in tals[1:]:
                    for text in tal["texts"]:
                        if text:
                            annotations.append({"onset": tal["onset"], "duration": tal["duration"], "text": text})
            else:
                values = struct.unpack("<%dh" % s["spr"], chunk)
                need(all(s["digmin"] <= v <= s["digmax"] for v in values), "sample outside the digital range")
                samples[i].extend(values)
    out["samples"] = [v for i, v in enumerate(samples) if signals[i]["label"] != "EDF Annotations"][0]
    out["annotations"] = annotations
    return out


def main():
    try:
        print(json.dumps(read(sys.argv[1]), ensure_ascii=False))
    except (Invalid, ValueError, UnicodeDecodeError) as e:
        print(f"invalid EDF+: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
