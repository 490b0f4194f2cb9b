"""Invented marriage tables for the checks of VelderExport: a large table written from
small lists of made-up names and places, in the table file's own form (Windows-1252,
CR LF, a header line then 161 TAB-separated fields per record)."""
import os
import random
import shutil

SURNAMES = ["ARZEL", "LE BRAS", "KERBRAT", "MOALIC", "de la FOUGERAIS", "QUÉMÉNEUR", "TANGUY", "ROPERS",
            "GUÉGUEN", "LE DANTEC", "du PLESSEAU", "CORRE", "MADEC", "PENVERN", "LE MOIGNE", "BRIAND"]
MEN = ["Yves", "Jean", "Hervé", "Mathurin", "Corentin", "Alain", "Pierre", "Louis Marie", "François"]
WOMEN = ["Marie", "Anne", "Jeanne", "Perrine", "Hélène", "Louise", "Marie Josèphe", "Catherine"]
PLACES = [("Valmorin", "56"), ("Kerlaven", "29"), ("Trévallec", "56"), ("Ploumanac", "22"), ("Lavernède", "56")]
JOBS = ["laboureur", "tisserand", "meunier", "marin", "journalière", "fileuse", "sabotier", ""]
REPUBLICAN = ["Vend", "Brum", "Frim", "Nivo", "Pluv", "Vent", "Germ", "Flor", "Prai", "Mess", "Ther", "Fruc"]
ACTS = ["MA", "MA", "MA", "MA", "CM", "PB", "CG", "DV", "RH", "CT", "SA", "TC"]


def date(rnd):
    if rnd.random() < 0.15:
        return "%02d/%s/%02d" % (rnd.randint(1, 30), rnd.choice(REPUBLICAN), rnd.randint(2, 14))
    day = rnd.choice(["..", "%02d" % rnd.randint(1, 28)])
    month = "%02d" % rnd.randint(1, 12) if day != ".." or rnd.random() < 0.5 else ".."
    return "%s/%s/%d" % (day, month, rnd.randint(1700, 1792))


def record(rnd, n):
    f = [""] * 161

    def put(pos, *values):
        f[pos - 1:pos - 1 + len(values)] = list(values)

    place, code = rnd.choice(PLACES)
    husband, wife = rnd.choice(SURNAMES), rnd.choice(SURNAMES)
    put(1, "Valmorin", rnd.choice(["Saint-Aubin", "Notre-Dame"]), rnd.choice(ACTS), "3E%d" % (n % 40), date(rnd), str(rnd.randint(0, 1)))
    put(7, husband, rnd.choice(MEN), place, code, "", str(rnd.randint(18, 60)), place, code, rnd.choice(JOBS), "")
    put(17, husband, rnd.choice(MEN), rnd.choice(["", "+"]))
    put(28, rnd.choice(SURNAMES), rnd.choice(WOMEN))
    put(57, wife, rnd.choice(WOMEN), place, code, "", rnd.choice(["", "majeure", str(rnd.randint(16, 45))]))
    put(67, wife, rnd.choice(MEN), "+" if rnd.random() < 0.3 else "")
    put(78, rnd.choice(SURNAMES), rnd.choice(WOMEN))
    if rnd.random() < 0.2:
        put(39, rnd.choice(SURNAMES), rnd.choice(WOMEN), date(rnd))
    for t in range(rnd.randint(0, 4)):
        sex = rnd.choice("MF")
        put(107 + 12 * t, rnd.choice(SURNAMES), rnd.choice(MEN if sex == "M" else WOMEN), sex, str(rnd.randint(20, 70)),
            place, code, place, code, rnd.choice(JOBS), rnd.choice(["", "frère", "oncle", "cousin"]), rnd.choice("12"), "")
    if f[2] == "CM" or rnd.random() < 0.1:
        put(155, date(rnd), "Valmorin", "Me TANGUY")
    if rnd.random() < 0.05:
        put(160, "3-3")
    if rnd.random() < 0.1:
        put(161, "Note de l'acte %d ; vu, relu" % n)
    return "\t".join(f)


def read_arguments(argv):
    """The checks' command line, <VelderExport> <work folder> <table.krv>... [--records=N]:
    the program, the work folder (emptied) and the tables, with an invented table of
    N records (20,000 unless told; 0 for none) added."""
    args = [a for a in argv if not a.startswith("--records=")]
    size = int(next((a.split("=")[1] for a in argv if a.startswith("--records=")), 20000))
    exporter, work = args[0], os.path.abspath(args[1])
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    tables = list(args[2:])
    if size:
        rnd, nb = random.Random(17), "\xa0"
        people = nb.join(["Odile BRÉVANNES", "mars 2024", "Lucien TROADEC", "Hélène MARCADIER", "Étude de Valmorin"])
        lines = ["\t".join(["Valmorin", "1750 à 1792_AD Orvane : 3E1@1793 à 1820_Mairie : 2E2", people, "Saint-Aubin" + nb + "Notre-Dame"])]
        tables.append(os.path.join(work, "Grande.krv"))
        with open(tables[-1], "wb") as out:
            out.write("".join(line + "\r\n" for line in lines + [record(rnd, n) for n in range(1, size + 1)]).encode("cp1252"))
    return exporter, work, tables
