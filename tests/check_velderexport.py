#!/usr/bin/env python3
"""Other readers of what VelderExport writes, for each table given and a large table of N records
(20,000 unless told; 0 for none) made of theirs. --csv: Python's csv module reads every field back,
under the 161 field names after "N°". --gramps: Gramps imports the GEDCOM (a tree under the work
folder) without an error, an ignored line, a date left as text or an unknown tag, and counts the
people, families and events VelderExport does; exit code 77 (skipped) without Gramps.
    check_velderexport.py --csv|--gramps <VelderExport> <work folder> [--records=N] <table.krv>..."""
import csv
import gzip
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

def records(table):
    """[number, 161 fields] of each record line that is neither empty nor damaged."""
    with open(table, "rb") as f:
        lines = re.split(r"\r\n|\r|\n", f.read().decode("cp1252"))[1:]
    out = []
    for n, line in enumerate(lines, start=1):
        fields = line.split("\t", 160)
        if len(fields) == 161 and any(v.strip() for i, v in enumerate(fields) if i not in (0, 1, 2, 5)):
            out.append([str(n)] + fields)
    return out

def check_csv(exporter, table, base, env):
    target = base + ".csv"
    run = subprocess.run([exporter, "--csv", table, target], capture_output=True, text=True)
    if run.returncode != 0:
        return ["VelderExport failed: " + run.stderr]
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
    return problems or "%d records, every field read back" % len(expected)

def check_gramps(exporter, table, base, env):
    ged, xml, tree = base + ".ged", base + ".gramps", os.path.basename(base)
    run = subprocess.run([exporter, "--gedcom", table, ged], capture_output=True, text=True)
    m = re.search(r"(\d+) actes?, (\d+) personnes?, (\d+) familles? et (\d+) événements?", run.stdout)
    if run.returncode != 0 or not m:
        return ["VelderExport failed: " + run.stdout + run.stderr]
    with open(ged, encoding="utf-8") as f:
        phrases = sum(1 for line in f if re.match(r"\d+ DATE \(", line))
    imp = subprocess.run(["gramps", "-y", "-C", tree, "-i", ged], capture_output=True, text=True, env=env)
    if imp.returncode != 0 or "GEDCOM import report: No errors detected" not in imp.stdout + imp.stderr:
        return ["Gramps import reported problems:\n" + (imp.stdout + imp.stderr)[-4000:]]
    exp = subprocess.run(["gramps", "-O", tree, "-e", xml], capture_output=True, text=True, env=env)
    if exp.returncode != 0 or not os.path.exists(xml):
        return ["Gramps export failed:\n" + (exp.stdout + exp.stderr)[-2000:]]
    with gzip.open(xml) as f:
        root = ET.parse(f).getroot()
    ns = root.tag[:root.tag.index("}") + 1] if root.tag.startswith("{") else ""
    events = root.findall(ns + "events/" + ns + "event")
    got = (len(root.findall(ns + "people/" + ns + "person")), len(root.findall(ns + "families/" + ns + "family")), len(events))
    problems = []
    if got != tuple(int(x) for x in m.groups()[1:]):
        problems.append("Gramps counts persons, families, events %s, VelderExport %s" % (got, m.groups()[1:]))
    texts = len(list(root.iter(ns + "datestr")))
    if texts != phrases:
        problems.append("%d dates kept as text by Gramps, %d written as phrases" % (texts, phrases))
    # A tag Gramps does not know becomes an event type spelt like the tag.
    unknown = sorted({t for t in (e.findtext(ns + "type") or "" for e in events) if re.fullmatch(r"_?[A-Z]{3,5}", t)})
    if unknown:
        problems.append("events of unknown tags: %s" % ", ".join(unknown))
    return problems or "%d persons, %d families, %d events: Gramps agrees" % got

def main(argv):
    args = [a for a in argv if not a.startswith("--records=")]
    if len(args) < 3 or args[0] not in ("--csv", "--gramps"):
        return __doc__
    if args[0] == "--gramps" and shutil.which("gramps") is None:
        print("gramps is not installed: check skipped")
        return 77
    size = int(next((a.split("=")[1] for a in argv if a.startswith("--records=")), 20000))
    exporter, work, tables = args[1], os.path.abspath(args[2]), args[3:]
    shutil.rmtree(work, ignore_errors=True)
    home = os.path.join(work, "home")
    os.makedirs(home)
    if size:   # the records of the tables given, over and over, renumbered by their place
        lines = [line for t in tables for line in open(t, "rb").read().decode("cp1252").split("\r\n")[1:] if "\t" in line]
        tables.append(os.path.join(work, "Grande.krv"))
        with open(tables[-1], "wb") as out:
            first = open(tables[0], "rb").read().decode("cp1252").split("\r\n")[0]
            out.write("".join(line + "\r\n" for line in [first] + [lines[n % len(lines)] for n in range(size)]).encode("cp1252"))
    env = dict(os.environ, HOME=home, GRAMPSHOME=home, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home,
               XDG_CACHE_HOME=home, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    env.pop("DISPLAY", None)
    check = check_csv if args[0] == "--csv" else check_gramps
    failures = 0
    for n, table in enumerate(tables):
        result = check(exporter, table, os.path.join(work, "t%d" % n), env)
        failures += not isinstance(result, str)
        for line in [result] if isinstance(result, str) else result:
            print("%s: %s" % (os.path.basename(table), line))
    print("%d table(s) checked, %d failure(s)" % (len(tables), failures))
    return 1 if failures else 0

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
