#!/usr/bin/env python3
"""csv_read.py FILE.csv SEPARATOR: reads the table with Python's csv module
(RFC 4180 dialect, the given separator) and prints the rows as a JSON list
of lists. Exit code 1 when the module refuses the file."""

import csv
import json
import sys


def main():
    path, separator = sys.argv[1], sys.argv[2]
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, delimiter=separator, quotechar='"', doublequote=True, strict=True))
    print(json.dumps(rows, ensure_ascii=False))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (csv.Error, UnicodeDecodeError) as e:
        print(f"csv: {e}", file=sys.stderr)
        sys.exit(1)
