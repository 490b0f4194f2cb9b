#!/usr/bin/env python3
"""The UTF-8 CSV of VelderExport read back with Python's csv module: for each table
(and an invented table of 20,000 records) every field of every record comes back
exactly as the table holds it, the header names the 161 fields after "N°", and the
rows are numbered as the records in the table.

    check_velderexport_csv.py <VelderExport> <work folder> [--records=N] <table.krv>..."""
import csv
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import velderexport_tables  # noqa: E402


def records(table):
    """(number, 161 fields) of each record line that is neither empty nor damaged."""
    with open(table, "rb") as f:
        lines = re.split(r"\r\n|\r|\n", f.read().decode("cp1252"))
    if lines and lines[-1] == "":
        lines.pop()
    out = []
    for n, line in enumerate(lines[1:], start=1):
        fields = line.split("\t", 160)
        if line.strip() == "" or len(fields) < 161:
            continue
        if all(v.strip() == "" for i, v in enumerate(fields) if i not in (0, 1, 2, 5)):
            continue
        out.append((n, fields))
    return out


def check(exporter, table, target):
    name = os.path.basename(table)
    run = subprocess.run([exporter, "--csv", table, target], capture_output=True, text=True)
    if run.returncode != 0:
        print("%s: VelderExport failed: %s" % (name, run.stderr))
        return 1
    with open(target, "rb") as f:
        raw = f.read()
    problems = []
    if not raw.startswith(b"\xef\xbb\xbf"):
        problems.append("no byte order mark")
    with open(target, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, strict=True))
    expected = records(table)
    if len(rows) != len(expected) + 1:
        problems.append("%d rows for %d records" % (len(rows) - 1, len(expected)))
    header = rows[0] if rows else []
    if len(header) != 162 or header[0] != "N°" or header[7] != "Nom EPX" or header[23] != "Code Org  PEPX" or header[161] != "Notes":
        problems.append("header %r" % header[:8])
    for row, (n, fields) in zip(rows[1:], expected):
        if row != [str(n)] + fields:
            problems.append("record %d differs: %r" % (n, [(i, a, b) for i, (a, b) in enumerate(zip(row, [str(n)] + fields)) if a != b][:3]))
            break
    for p in problems:
        print("%s: %s" % (name, p))
    if not problems:
        print("%s: %d records, every field read back" % (name, len(expected)))
    return 1 if problems else 0


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    exporter, work, tables = velderexport_tables.read_arguments(sys.argv[1:])
    failures = sum(check(exporter, t, os.path.join(work, "t%d.csv" % i)) for i, t in enumerate(tables))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
