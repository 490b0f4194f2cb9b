#!/usr/bin/env python3
"""The UTF-8 CSV of VelderExport read back with Python's csv module: for each table
(and an invented table of 20,000 records) every field of every record comes back as
the table holds it, under a header naming the 161 fields after "N°", numbered as in
the table.   check_velderexport_csv.py <VelderExport> <work folder> [--records=N] <table.krv>..."""
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
        lines = re.split(r"\r\n|\r|\n", f.read().decode("cp1252"))[1:]
    out = []
    for n, line in enumerate(lines, start=1):
        fields = line.split("\t", 160)
        if len(fields) == 161 and any(v.strip() for i, v in enumerate(fields) if i not in (0, 1, 2, 5)):
            out.append([str(n)] + fields)
    return out


def check(exporter, table, target):
    name = os.path.basename(table)
    run = subprocess.run([exporter, "--csv", table, target], capture_output=True, text=True)
    if run.returncode != 0:
        print("%s: VelderExport failed: %s" % (name, run.stderr))
        return 1
    with open(target, "rb") as f:
        problems = [] if f.read(3) == b"\xef\xbb\xbf" else ["no byte order mark"]
    with open(target, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, strict=True))
    expected = records(table)
    if len(rows) != len(expected) + 1:
        problems.append("%d rows for %d records" % (len(rows) - 1, len(expected)))
    header = rows[0] if rows else []
    if len(header) != 162 or [header[i] for i in (0, 7, 23, 161)] != ["N°", "Nom EPX", "Code Org  PEPX", "Notes"]:
        problems.append("header %r" % header[:8])
    wrong = [row[0] for row, want in zip(rows[1:], expected) if row != want]
    if wrong:
        problems.append("records %s differ" % ", ".join(wrong[:5]))
    for p in problems or ["%d records, every field read back" % len(expected)]:
        print("%s: %s" % (name, p))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    exporter, work, tables = velderexport_tables.read_arguments(sys.argv[1:])
    sys.exit(1 if sum(check(exporter, t, os.path.join(work, "t%d.csv" % i)) for i, t in enumerate(tables)) else 0)
