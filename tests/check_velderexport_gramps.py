#!/usr/bin/env python3
"""Gramps reads what VelderExport writes: each table (and an invented one) is exported
to GEDCOM, imported by Gramps' command line into a fresh family tree and exported again
as Gramps XML. It fails when Gramps reports an error or an ignored line, keeps a date
we wrote as a date only as text, makes an event of a tag it did not know, or counts
other numbers of people, families and events than VelderExport printed. Gramps' files
go under the work folder, never the user's; exit code 77 (skipped) without Gramps.
    check_velderexport_gramps.py <VelderExport> <work folder> [--records=N] <table.krv>..."""
import gzip
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import velderexport_tables  # noqa: E402


def check(exporter, table, base, tree, env):
    name, ged, xml = os.path.basename(table), base + ".ged", base + ".gramps"
    run = subprocess.run([exporter, "--gedcom", table, ged], capture_output=True, text=True)
    m = re.search(r"(\d+) actes?, (\d+) personnes?, (\d+) familles? et (\d+) événements?", run.stdout)
    if run.returncode != 0 or not m:
        print("%s: VelderExport failed: %s%s" % (name, run.stdout, run.stderr))
        return 1
    expected = tuple(int(x) for x in m.groups()[1:])
    with open(ged, encoding="utf-8") as f:
        phrases = sum(1 for line in f if re.match(r"\d+ DATE \(", line))
    imp = subprocess.run(["gramps", "-y", "-C", tree, "-i", ged], capture_output=True, text=True, env=env)
    if imp.returncode != 0 or "GEDCOM import report: No errors detected" not in imp.stdout + imp.stderr:
        print("%s: Gramps import reported problems:\n%s" % (name, (imp.stdout + imp.stderr)[-4000:]))
        return 1
    exp = subprocess.run(["gramps", "-O", tree, "-e", xml], capture_output=True, text=True, env=env)
    if exp.returncode != 0 or not os.path.exists(xml):
        print("%s: Gramps export failed:\n%s" % (name, (exp.stdout + exp.stderr)[-2000:]))
        return 1
    with gzip.open(xml) as f:
        root = ET.parse(f).getroot()
    ns = root.tag[:root.tag.index("}") + 1] if root.tag.startswith("{") else ""
    events = root.findall(ns + "events/" + ns + "event")
    got = (len(root.findall(ns + "people/" + ns + "person")), len(root.findall(ns + "families/" + ns + "family")), len(events))
    problems = []
    if got != expected:
        problems.append("Gramps counts persons, families, events %s, VelderExport %s" % (got, expected))
    texts = len(list(root.iter(ns + "datestr")))
    if texts != phrases:
        problems.append("%d dates kept as text by Gramps, %d written as phrases" % (texts, phrases))
    # A tag Gramps does not know becomes an event type spelt like the tag.
    unknown = sorted({t for t in (e.findtext(ns + "type") or "" for e in events) if re.fullmatch(r"_?[A-Z]{3,5}", t)})
    if unknown:
        problems.append("events of unknown tags: %s" % ", ".join(unknown))
    for p in problems or ["%d persons, %d families, %d events: Gramps agrees" % got]:
        print("%s: %s" % (name, p))
    return 1 if problems else 0


def main():
    if len(sys.argv) < 3:
        return __doc__
    if shutil.which("gramps") is None:
        print("gramps is not installed: check skipped")
        return 77
    exporter, work, tables = velderexport_tables.read_arguments(sys.argv[1:])
    home = os.path.join(work, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, GRAMPSHOME=home, XDG_DATA_HOME=home, XDG_CONFIG_HOME=home,
               XDG_CACHE_HOME=home, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    env.pop("DISPLAY", None)
    failures = sum(check(exporter, t, os.path.join(work, "t%d" % n), "tree%d" % n, env) for n, t in enumerate(tables))
    print("%d table(s) checked, %d failure(s)" % (len(tables), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
