#include "velderexport/gedcom.h"

#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <array>

namespace vexport {

namespace {

constexpr std::array<const char *, 12> kMonths{"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
// The thirteen months of the Republic; "Comp" holds the five or six complementary days.
constexpr std::array<const char *, 13> kRepublican{"VEND", "BRUM", "FRIM", "NIVO", "PLUV", "VENT", "GERM",
                                                   "FLOR", "PRAI", "MESS", "THER", "FRUC", "COMP"};

// A part of a date without its padding dots, as a number; -1 when it is not digits.
int number(QStringView part)
{
    if (part.isEmpty() || part.size() > 4)
        return -1;
    int n = 0;
    for (QChar c : part) {
        if (!c.isDigit() || c.unicode() > '9')
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

QString withoutDots(QStringView part)
{
    QString s;
    for (QChar c : part)
        if (c != u'.')
            s += c;
    return s.trimmed();
}

QString phrase(QStringView text)
{
    QString s = text.toString();
    s.replace(u'(', u'[').replace(u')', u']');
    return u'(' + s + u')';
}

bool splitRecord(QStringView text, FieldViews &f)
{
    qsizetype start = 0;
    for (int i = 0; i < record::TabCount; ++i) {
        const qsizetype tab = text.indexOf(u'\t', start);
        if (tab < 0)
            return false;
        f[i] = text.sliced(start, tab - start);
        start = tab + 1;
    }
    f[record::TabCount] = text.sliced(start);
    return true;
}

bool isEmptyRecord(const FieldViews &f)
{
    for (int p = 1; p <= record::FieldCount; ++p)
        if (p != 1 && p != 2 && p != 3 && p != 6 && !f[p - 1].trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

bool takeRecord(QStringView line, FieldViews &f, Counts &counts)
{
    if (line.trimmed().isEmpty()) {
        ++counts.empty;
        return false;
    }
    if (!splitRecord(line, f)) {
        ++counts.damaged;
        return false;
    }
    if (isEmptyRecord(f)) {
        ++counts.empty;
        return false;
    }
    ++counts.records;
    return true;
}

QString gedcomDate(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return {};
    const QList<QStringView> parts = t.split(u'/');
    if (parts.size() == 1) {
        if (withoutDots(t).isEmpty())
            return {};
        const int y = number(t);
        return y > 0 ? QString::number(y) : phrase(t);
    }
    if (parts.size() != 3)
        return phrase(t);
    const QString ds = withoutDots(parts[0]), ms = withoutDots(parts[1]), ys = withoutDots(parts[2]);
    if (ds.isEmpty() && ms.isEmpty() && ys.isEmpty())
        return {};
    const int d = ds.isEmpty() ? 0 : number(ds);
    const int y = number(ys);
    if (y <= 0 || d < 0)
        return phrase(t);
    // A month of letters is a month of the Republic, whatever the case it was typed in.
    const QString upperMonth = ms.toUpper();
    for (int i = 0; i < int(kRepublican.size()); ++i) {
        if (upperMonth != QLatin1String(kRepublican[i]))
            continue;
        // The complementary days are five, six in the sextile years III, VII, XI and XV.
        const int lastDay = i < 12 ? 30 : (y % 4 == 3 ? 6 : 5);
        if (d > lastDay)
            return phrase(t);
        QString s = QStringLiteral("@#DFRENCH R@ ");
        if (d > 0)
            s += QString::number(d) + u' ';
        return s + QLatin1String(kRepublican[i]) + u' ' + QString::number(y);
    }
    if (ms.isEmpty()) // a day without its month says nothing GEDCOM can hold: the year
        return QString::number(y);
    const int m = number(ms);
    if (m < 1 || m > 12 || d > 31)
        return phrase(t);
    QString s;
    if (d > 0)
        s = QString::number(d) + u' ';
    return s + QLatin1String(kMonths[m - 1]) + u' ' + QString::number(y);
}

QString gedcomAge(QStringView text)
{
    const int n = number(text.trimmed());
    return n > 0 && n < 150 ? QString::number(n) + u'y' : QString();
}

TableInfo tableInfo(const QString &headerLine)
{
    TableInfo t;
    if (!splitHeader(headerLine, t.commune, t.sources, t.people, t.parishes))
        t.commune = headerLine.section(u'\t', 0, 0);
    return t;
}

// One record's lines, appended straight to the output: a table of 100,000 records
// must not cost an allocation per field.
struct RecordWriter {
    std::string &out; // QByteArray's small appends cost more than the text itself
    Counts &counts;
    FieldViews f{};
    std::string prefix; // "R12"
    QString actDate;
    std::string citation;

    QStringView F(int position) const { return f[position - 1]; }

    // UTF-8 of a value, written straight into the output's own buffer.
    void appendText(QStringView s)
    {
        const qsizetype at = out.size();
        out.resize(at + 3 * s.size()); // no character takes more than three bytes here
        char *d = out.data() + at;
        for (QChar ch : s) {
            const char16_t c = ch.unicode();
            if (c < 0x80) {
                if (c < 0x20 || c == 0x7F) {
                    *d++ = ' '; // a TAB kept inside the notes would break the line's fields
                } else {
                    *d++ = char(c);
                    if (c == u'@')
                        *d++ = '@';
                }
            } else if (c < 0xA0) {
                *d++ = ' '; // the table's five unassigned bytes: controls, not text
            } else if (c < 0x800) {
                *d++ = char(0xC0 | (c >> 6));
                *d++ = char(0x80 | (c & 0x3F));
            } else if (ch.isSurrogate()) {
                *d++ = '?';
            } else {
                *d++ = char(0xE0 | (c >> 12));
                *d++ = char(0x80 | ((c >> 6) & 0x3F));
                *d++ = char(0x80 | (c & 0x3F));
            }
        }
        out.resize(size_t(d - out.data()));
    }

    // "n ".
    void level_(int level)
    {
        const char b[2] = {char('0' + level), ' '};
        out.append(b, 2);
    }

    void tagLine(int level, const char *tag)
    {
        level_(level);
        out += tag;
        out += "\r\n";
    }

    // A line with its value; a long value goes on in CONC lines, cut between two
    // characters that are not blanks (readers trim the ends of lines).
    void line(int level, const char *tag, QStringView value)
    {
        constexpr qsizetype Max = 200;
        const char *t = tag;
        int lv = level;
        while (true) {
            qsizetype cut = value.size();
            if (cut > Max) {
                cut = Max;
                while (cut > Max / 2 && (value[cut - 1] == u' ' || value[cut] == u' '))
                    --cut;
                if (cut == Max / 2)
                    cut = Max;
            }
            level_(lv);
            out += t;
            out.append(" ", 1);
            appendText(value.first(cut));
            out += "\r\n";
            value = value.sliced(cut);
            if (value.isEmpty())
                return;
            t = "CONC";
            lv = level + 1;
        }
    }

    void lineIf(int level, const char *tag, QStringView value)
    {
        if (!value.isEmpty())
            line(level, tag, value);
    }

    // A date: the calendar escape is written as it is, any '@' typed in a phrase doubled.
    void dateLine(int level, const QString &date)
    {
        if (date.isEmpty())
            return;
        level_(level);
        out += "DATE ";
        QStringView rest(date);
        if (rest.startsWith(u"@#D")) {
            const qsizetype end = rest.indexOf(u'@', 1) + 1;
            out += rest.first(end).toLatin1().toStdString();
            rest = rest.sliced(end);
        }
        appendText(rest);
        out += "\r\n";
    }

    void xref(int level, const char *tag, const char *suffix)
    {
        level_(level);
        out += tag;
        out += " @";
        out += prefix;
        out += suffix;
        out += "@\r\n";
    }

    void record0(const char *suffix, const char *tag)
    {
        out += "0 @";
        out += prefix;
        out += suffix;
        out += "@ ";
        out += tag;
        out += "\r\n";
    }

    // "Commune, 56": a place and its code, either of them alone when the other is missing.
    void placeLine(int level, QStringView name, QStringView code)
    {
        if (name.isEmpty() && code.isEmpty())
            return;
        if (name.size() + code.size() > 190) { // a long text goes on in CONC lines
            line(level, "PLAC", place(name, code));
            return;
        }
        level_(level);
        out += "PLAC ";
        appendText(name);
        if (!name.isEmpty() && !code.isEmpty())
            out += ", ";
        appendText(code);
        out += "\r\n";
    }

    static QString place(QStringView name, QStringView code)
    {
        if (code.isEmpty())
            return name.toString();
        if (name.isEmpty())
            return code.toString();
        return name.toString() + QStringLiteral(", ") + code.toString();
    }

    void cite(int level)
    {
        level_(level);
        out += "SOUR @S1@\r\n";
        level_(level + 1);
        out += "PAGE ";
        out += citation;
        out += "\r\n";
    }

    void event(const char *tag, const QString &date, QStringView placeName, QStringView placeCode = {})
    {
        ++counts.events;
        if (date.isEmpty() && placeName.isEmpty() && placeCode.isEmpty()) {
            out += "1 ";
            out += tag;
            out += " Y\r\n";
            return;
        }
        tagLine(1, tag);
        dateLine(2, date);
        placeLine(2, placeName, placeCode);
    }

    // Where a person's items sit in the record line (0 when the person has none).
    struct Who {
        const char *id;
        int nom, prenom, sexe, evnt, death, naiss, age, org, codeOrg, res, codeRes, prof, rq;
        char sex; // when the line does not say
        bool spouse;
    };

    static Who spouse(const char *id, int b, char sex)
    {
        return {id, b, b + 1, 0, 0, 0, b + 4, b + 5, b + 2, b + 3, b + 6, b + 7, b + 8, b + 9, sex, true};
    }
    static Who parent(const char *id, int b, char sex)
    {
        return {id, b, b + 1, 0, b + 2, b + 3, 0, b + 4, b + 5, b + 6, b + 7, b + 8, b + 9, b + 10, sex, false};
    }
    static Who former(const char *id, int b, char sex)
    {
        return {id, b, b + 1, 0, 0, b + 2, 0, 0, b + 3, b + 4, b + 5, b + 6, b + 7, b + 8, sex, false};
    }
    static Who witness(const char *id, int b)
    {
        return {id, b, b + 1, b + 2, 0, 0, 0, b + 3, b + 4, b + 5, b + 6, b + 7, b + 8, b + 11, 'U', false};
    }

    QStringView item(int position) const { return position ? F(position) : QStringView(); }

    // A person is written when anything is known of them. A father holding only the
    // surname that the entry window copies from his child is not known.
    bool known(const Who &w, int childSurname = 0) const
    {
        const int items[] = {w.prenom, w.sexe, w.evnt, w.death, w.naiss, w.age, w.org,
                             w.codeOrg, w.res, w.codeRes, w.prof, w.rq};
        for (int p : items)
            if (p && !F(p).isEmpty())
                return true;
        if (F(w.nom).isEmpty())
            return false;
        return childSurname == 0 || F(w.nom) != F(childSurname);
    }

    void name(QStringView given, QStringView surname)
    {
        if (given.isEmpty() && surname.isEmpty())
            return;
        out += "1 NAME ";
        appendText(given);
        if (!given.isEmpty())
            out.append(" ", 1);
        out.append("/", 1);
        appendText(surname);
        out += "/\r\n";
        lineIf(2, "GIVN", given);
        // Lower-case words before the surname are its particles ("de la FOUGERAIS").
        qsizetype start = 0;
        while (start < surname.size()) {
            qsizetype end = surname.indexOf(u' ', start);
            if (end < 0)
                break;
            const QStringView word = surname.sliced(start, end - start);
            if (word.isEmpty() || word.toString().toLower() != word || word.toString().toUpper() == word)
                break;
            start = end + 1;
        }
        if (start > 0 && start < surname.size())
            line(2, "SPFX", surname.first(start).trimmed());
        lineIf(2, "SURN", surname.sliced(start));
    }

    // INDI of one person; `links` adds its ASSO, FAMC and FAMS lines.
    template <class Links>
    void person(const Who &w, Links &&links)
    {
        ++counts.persons;
        record0(w.id, "INDI");
        name(item(w.prenom), item(w.nom));
        char sex = w.sex;
        if (w.sexe) {
            const QStringView s = F(w.sexe).trimmed();
            sex = s.compare(u"M", Qt::CaseInsensitive) == 0 ? 'M' : s.compare(u"F", Qt::CaseInsensitive) == 0 ? 'F' : 'U';
        }
        out += "1 SEX ";
        out.append(&sex, 1);
        out += "\r\n";
        const QString birthDate = gedcomDate(item(w.naiss));
        if (!birthDate.isEmpty() || !item(w.org).isEmpty() || !item(w.codeOrg).isEmpty())
            event("BIRT", birthDate, item(w.org), item(w.codeOrg));
        const QStringView marker = item(w.evnt).trimmed();
        const QString deathDate = gedcomDate(item(w.death));
        if (marker == u"+" || !deathDate.isEmpty())
            event("DEAT", deathDate, {});
        const bool residence = !item(w.res).isEmpty() || !item(w.codeRes).isEmpty();
        const QStringView ageText = item(w.age).trimmed();
        const QString age = gedcomAge(ageText);
        // The spouses' ages belong to the act's event; the others' to their residence.
        const bool ageHere = !w.spouse && !age.isEmpty();
        if (residence || ageHere) {
            ++counts.events;
            tagLine(1, "RESI");
            dateLine(2, actDate);
            placeLine(2, item(w.res), item(w.codeRes));
            if (ageHere)
                line(2, "AGE", age);
        }
        if (!item(w.prof).isEmpty()) {
            ++counts.events;
            line(1, "OCCU", item(w.prof));
            dateLine(2, actDate);
        }
        if (!ageText.isEmpty() && age.isEmpty())
            line(1, "NOTE", QStringLiteral("Âge : ") + ageText.toString());
        if (!marker.isEmpty() && marker != u"+")
            line(1, "NOTE", QStringLiteral("Mention : ") + marker.toString());
        lineIf(1, "NOTE", item(w.rq));
        links();
        cite(1);
    }

    bool write(int number, QStringView text)
    {
        if (!takeRecord(text, f, counts))
            return false;
        prefix = 'R' + std::to_string(number);
        actDate = gedcomDate(F(5));

        const QStringView code = F(3);
        const QString label = record::actLabelForCode(code.toString());
        citation.clear();
        {
            std::string saved;
            saved.swap(out);
            if (!F(4).isEmpty()) {
                out += "Cote ";
                appendText(F(4));
                out += ", ";
            }
            if (!label.isEmpty()) {
                appendText(label);
                out += ", ";
            }
            out += "acte n\xC2\xB0 ";
            out += std::to_string(number);
            citation.swap(out);
            out.swap(saved);
        }

        const Who h = spouse("H", 7, 'M'), hf = parent("HF", 17, 'M'), hm = parent("HM", 28, 'F');
        const Who h1 = former("H1", 39, 'F'), h2 = former("H2", 48, 'F');
        const Who w = spouse("W", 57, 'F'), wf = parent("WF", 67, 'M'), wm = parent("WM", 78, 'F');
        const Who w1 = former("W1", 89, 'M'), w2 = former("W2", 98, 'M');
        const Who t[4] = {witness("T1", 107), witness("T2", 119), witness("T3", 131), witness("T4", 143)};

        const bool hasH = known(h), hasW = known(w);
        const bool hasHF = known(hf, 7), hasHM = known(hm), hasWF = known(wf, 57), hasWM = known(wm);
        const bool hasH1 = hasH && known(h1), hasH2 = hasH && known(h2);
        const bool hasW1 = hasW && known(w1), hasW2 = hasW && known(w2);
        const bool hParents = hasH && (hasHF || hasHM), wParents = hasW && (hasWF || hasWM);
        bool hasT[4];
        for (int i = 0; i < 4; ++i)
            hasT[i] = known(t[i]);
        // A witness stands for the wife when the line says so, for the husband otherwise.
        const auto standsForWife = [&](int i) { return (F(t[i].nom + 10) == u"2" && hasW) || !hasH; };

        const auto assos = [&](bool wife) {
            for (int i = 0; i < 4; ++i) {
                if (!hasT[i] || standsForWife(i) != wife)
                    continue;
                xref(1, "ASSO", t[i].id);
                out += "2 RELA T\xC3\xA9moin\r\n";
                const QStringView kin = F(t[i].nom + 9);
                if (!kin.isEmpty())
                    line(2, "NOTE", QStringLiteral("Parenté : ") + kin.toString());
            }
        };
        const auto none = [] {};

        if (hasH)
            person(h, [&] {
                assos(false);
                if (hParents)
                    xref(1, "FAMC", "FH");
                if (hasH1)
                    xref(1, "FAMS", "FH1");
                if (hasH2)
                    xref(1, "FAMS", "FH2");
                xref(1, "FAMS", "F");
            });
        if (hParents && hasHF)
            person(hf, [&] { xref(1, "FAMS", "FH"); });
        if (hParents && hasHM)
            person(hm, [&] { xref(1, "FAMS", "FH"); });
        if (hasH1)
            person(h1, [&] { xref(1, "FAMS", "FH1"); });
        if (hasH2)
            person(h2, [&] { xref(1, "FAMS", "FH2"); });
        if (hasW)
            person(w, [&] {
                assos(true);
                if (wParents)
                    xref(1, "FAMC", "FW");
                if (hasW1)
                    xref(1, "FAMS", "FW1");
                if (hasW2)
                    xref(1, "FAMS", "FW2");
                xref(1, "FAMS", "F");
            });
        if (wParents && hasWF)
            person(wf, [&] { xref(1, "FAMS", "FW"); });
        if (wParents && hasWM)
            person(wm, [&] { xref(1, "FAMS", "FW"); });
        if (hasW1)
            person(w1, [&] { xref(1, "FAMS", "FW1"); });
        if (hasW2)
            person(w2, [&] { xref(1, "FAMS", "FW2"); });
        for (int i = 0; i < 4; ++i)
            if (hasT[i])
                person(t[i], none);

        // The couple and the act.
        ++counts.families;
        record0("F", "FAM");
        if (hasH)
            xref(1, "HUSB", "H");
        if (hasW)
            xref(1, "WIFE", "W");
        const bool contract = code == u"CM";
        const char *tag = code == u"MA" ? "MARR" : contract ? "MARC" : code == u"PB" ? "MARB" : code == u"DV" ? "DIV" : "EVEN";
        ++counts.events;
        tagLine(1, tag);
        if (tag[0] == 'E')
            line(2, "TYPE", !label.isEmpty() ? label : !code.isEmpty() ? code.toString() : QStringLiteral("Acte"));
        const QString date = contract && actDate.isEmpty() ? gedcomDate(F(155)) : actDate;
        dateLine(2, date);
        if (contract && F(1).isEmpty() && F(2).isEmpty())
            placeLine(2, F(156), {});
        else
            placeLine(2, F(1), F(2));
        if (contract)
            lineIf(2, "AGNC", F(157));
        const QString hAge = gedcomAge(F(12)), wAge = gedcomAge(F(62));
        if (hasH && !hAge.isEmpty()) {
            tagLine(2, "HUSB");
            line(3, "AGE", hAge);
        }
        if (hasW && !wAge.isEmpty()) {
            tagLine(2, "WIFE");
            line(3, "AGE", wAge);
        }
        const QStringView degree = F(160);
        if (F(6) == u"1")
            line(2, "NOTE", degree.isEmpty() ? QStringLiteral("Dispense") : QStringLiteral("Dispense de parenté : ") + degree.toString());
        else if (!degree.isEmpty())
            line(2, "NOTE", QStringLiteral("Degré de parenté : ") + degree.toString());
        cite(2);
        // A contract or a marriage mentioned by another act is an event of its own.
        if (!contract && (!F(155).isEmpty() || !F(156).isEmpty() || !F(157).isEmpty())) {
            event("MARC", gedcomDate(F(155)), F(156));
            lineIf(2, "AGNC", F(157));
        }
        if (code != u"MA" && (!F(158).isEmpty() || !F(159).isEmpty()))
            event("MARR", gedcomDate(F(158)), F(159));
        lineIf(1, "NOTE", F(161));
        cite(1);

        const auto family = [&](const char *id, bool husband, const char *hid, const char *wid, const char *child) {
            ++counts.families;
            record0(id, "FAM");
            if (husband)
                xref(1, "HUSB", hid);
            if (wid)
                xref(1, "WIFE", wid);
            if (child)
                xref(1, "CHIL", child);
        };
        if (hParents)
            family("FH", hasHF, "HF", hasHM ? "HM" : nullptr, "H");
        if (wParents)
            family("FW", hasWF, "WF", hasWM ? "WM" : nullptr, "W");
        if (hasH1)
            family("FH1", true, "H", "H1", nullptr);
        if (hasH2)
            family("FH2", true, "H", "H2", nullptr);
        if (hasW1)
            family("FW1", true, "W1", "W", nullptr);
        if (hasW2)
            family("FW2", true, "W2", "W", nullptr);
        return true;
    }
};

void GedcomWriter::header(const TableInfo &table)
{
    RecordWriter r{m_buf, m_counts};
    const QStringList people = table.people.split(record::Nbsp);
    const auto person = [&](int i) { return i < people.size() ? people.at(i).trimmed() : QString(); };
    r.out += "0 HEAD\r\n1 SOUR VELDER\r\n2 VERS " VELDER_VERSION "\r\n2 NAME VelderExport\r\n"
             "1 SUBM @SUBM@\r\n1 GEDC\r\n2 VERS 5.5.1\r\n2 FORM LINEAGE-LINKED\r\n1 CHAR UTF-8\r\n1 LANG French\r\n";
    QString title = QStringLiteral("Table des mariages");
    if (!table.commune.isEmpty())
        title += QStringLiteral(" de ") + table.commune;
    r.line(1, "NOTE", title);
    // The periods and their sources, then the people of the table, one per line.
    QStringList lines;
    QStringList periods;
    for (const QString &entry : table.sources.split(u'@', Qt::SkipEmptyParts)) {
        const qsizetype u = entry.indexOf(u'_');
        periods << (u < 0 ? entry : entry.left(u) + QStringLiteral(", ") + entry.mid(u + 1));
    }
    for (const QString &p : periods)
        lines << QStringLiteral("Sources : ") + p;
    const char16_t *roles[] = {u"Relevée par", u"Date du relevé", u"Saisie par", u"Vérifiée par", u"Nom de l'étude"};
    for (int i = 0; i < 5; ++i)
        if (!person(i).isEmpty())
            lines << QString::fromUtf16(roles[i]) + QStringLiteral(" : ") + person(i);
    const QStringList parishes = splitParishList(table.parishes);
    if (!parishes.isEmpty())
        lines << QStringLiteral("Paroisses : ") + parishes.join(QStringLiteral(", "));
    for (const QString &l : lines)
        r.line(2, "CONT", l);

    QString submitter = person(0);
    if (submitter.isEmpty())
        submitter = person(2);
    if (submitter.isEmpty())
        submitter = QStringLiteral("Velder");
    r.out += "0 @SUBM@ SUBM\r\n";
    r.line(1, "NAME", submitter);

    r.out += "0 @S1@ SOUR\r\n";
    r.line(1, "TITL", title);
    r.lineIf(1, "AUTH", person(0));
    r.lineIf(1, "PUBL", person(4));
    for (qsizetype i = 0; i < periods.size(); ++i)
        r.line(i == 0 ? 1 : 2, i == 0 ? "TEXT" : "CONT", periods.at(i));
    flush();
}

void GedcomWriter::flush()
{
    m_out.append(m_buf.data(), qsizetype(m_buf.size()));
    m_buf.clear();
}

bool GedcomWriter::record(int number, QStringView line)
{
    RecordWriter r{m_buf, m_counts};
    const bool written = r.write(number, line);
    flush();
    return written;
}

void GedcomWriter::trailer() { m_out += "0 TRLR\r\n"; }

} // namespace vexport
