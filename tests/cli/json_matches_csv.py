#!/usr/bin/env python3
"""Checks vidmetra-cli's JSON document against the CSV file of the same run: every series' title, files,
average and per-frame values (null for an empty cell) must be what the CSV file holds.
Usage: json_matches_csv.py DOCUMENT.json RUN.csv; exits 0 when they agree, 1 with the first difference."""
import json
import struct
import sys


def as_float(value):
    # The document holds each 32-bit value in 9 significant digits: back to the very float the CSV printed.
    return struct.unpack("<f", struct.pack("<f", value))[0]


def main(document_path, csv_path):
    with open(document_path, encoding="utf-8") as f:
        document = json.load(f)
    if document.get("schema") != 1:
        return "schema is not 1"
    with open(csv_path, encoding="utf-8", newline="") as f:
        rows = [line.split(",") for line in f.read().split("\n")[:-1]]
    series = document["series"]
    if len(rows) < 4 or any(len(row) != len(series) for row in rows):
        return "the CSV file has %d rows, not one column per series" % len(rows)
    if csv_path not in document["files_written"]:
        return "the CSV file is not among files_written"
    for column, entry in enumerate(series):
        files = entry["files"] + ["", ""]
        expected_head = [entry["title"], files[0], files[1], "AVG: %5.5f" % as_float(entry["average"])]
        head = [rows[r][column] for r in range(4)]
        if head != expected_head:
            return "series %d: head %r, CSV %r" % (column, expected_head, head)
        values = entry["values"]
        if len(values) != len(rows) - 4:
            return "series %d: %d values for %d frame rows" % (column, len(values), len(rows) - 4)
        measured = sum(value is not None for value in values)
        if measured != entry["frames"]:
            return "series %d: %d values, frames says %d" % (column, measured, entry["frames"])
        for r, value in enumerate(values):
            cell = rows[4 + r][column]
            expected = "" if value is None else "%5.5f" % as_float(value)
            if cell != expected:
                return "series %d frame %d: JSON %r, CSV %r" % (column, r, expected, cell)
    return None


if __name__ == "__main__":
    difference = main(sys.argv[1], sys.argv[2])
    if difference:
        print(difference)
        sys.exit(1)
