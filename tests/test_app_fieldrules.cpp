// The rules of the entry window's boxes, driven directly: keystrokes, dates, the parish and search boxes.
#include "app/daterules.h"
#include "app/fieldrules.h"
#include "app/parishentry.h"
#include "app/search.h"
#include "testutil.h"

#include <QTest>

// A stand-in for the entry window when the rules are driven directly: the 31 box texts,
// the date layout and the table, and a typist that applies every result as the window would.
struct Window : fieldrules::Context {
    std::array<QString, record::TxtCount> txt;
    DateBoxes date = daterules::designed();
    const TableStore *store = nullptr;
    int beeps = 0;
    fieldrules::Focus lastFocus = fieldrules::Focus::Stay;
    QString help;

    QString boxText(int i) const override { return txt.at(i); }
    const TableStore *table() const override { return store; }
    DateBoxes dateBoxes() const override { return date; }

    // Applies a result's effects outside the box; returns the box after its key.
    fieldrules::Box apply(int index, const fieldrules::Result &r)
    {
        for (const auto &[i, t] : r.others)
            txt[i] = t;
        const fieldrules::Box b = fieldrules::applied(index, r, date);
        if (r.layout)
            date = *r.layout;
        beeps += r.beep ? 1 : 0;
        if (r.help)
            help = *r.help;
        lastFocus = r.focus;
        txt[index] = b.text;
        return b;
    }
    // One key in box `index` as it stands (press, then release).
    fieldrules::Box key(int index, fieldrules::Box b, QChar k)
    {
        b = apply(index, fieldrules::keyPress(index, b, k, *this));
        if (const fieldrules::Result up = fieldrules::keyUp(index, b, *this); up.focus != fieldrules::Focus::Stay)
            lastFocus = up.focus;
        return b;
    }
    // Keys typed into box `index`, starting from b (default: the box's text, caret at its end).
    fieldrules::Box type(int index, const QString &keys, std::optional<fieldrules::Box> start = {})
    {
        fieldrules::Box b = start.value_or(fieldrules::Box{txt[index], int(txt[index].size()), 0});
        txt[index] = b.text;
        for (QChar k : keys)
            b = key(index, b, k);
        return b;
    }
    // Tabbing into a box: its content selected.
    fieldrules::Box enter(int index)
    {
        const fieldrules::Result r = fieldrules::gotFocus(index, {txt[index], 0, 0}, *this);
        help = r.help.value_or(help);
        return r.box;
    }
    void leave(int index, const fieldrules::Box &b) { apply(index, fieldrules::lostFocus(index, b, *this)); }
};

using namespace fieldrules;
using testutil::header;
using testutil::recordLine;
namespace {
constexpr int Place = 0, Day = 3, Month = 4, Year = 5, Surname = 6, FatherSurname = 10, FatherFirst = 11;
constexpr int WifeSurname = 18, WifeFather = 22, WifeFatherFirst = 23;
constexpr int Origin = 8, Code = 9, WifeOrigin = 20, Notes = 30;
const QChar Bksp(key::Backspace);
QString origin(const QString &husband, const QString &wife)
{
    return recordLine({{"Nom EPX", "A"}, {"Org EPX", husband}, {"Org EPSE", wife}});
}

enum Layout { Designed, Gregorian, Republican };
const QStringList Layouts{"designed", "gregorian", "republican"};   // as the case tables name them

Window windowIn(int l)
{
    Window w;
    w.date = l == Gregorian ? daterules::gregorian() : l == Republican ? daterules::republican() : daterules::designed();
    return w;
}
// Month limit and width, year limit, width and left, the second "/" left.
QString boxes(const DateBoxes &d)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6").arg(d.monthMaxLength).arg(d.monthWidth).arg(d.yearMaxLength)
        .arg(d.yearWidth).arg(d.yearLeft).arg(d.slashLeft);
}
// Types keys into the date from the day box on, following the focus as the window does (leaving a box completes
// it); returns the box holding the focus at the end, or -1 once it went on to the dispensation box.
int typeDate(Window &w, const QString &keys)
{
    int at = Day;
    Box b = w.enter(at);
    for (QChar k : keys) {
        w.lastFocus = Focus::Stay;
        b = w.key(at, b, k);
        const Focus next = w.lastFocus;
        if (next == Focus::Stay)
            continue;
        w.leave(at, b);
        if (next == Focus::Dispense)
            return -1;
        at = next == Focus::Month ? Month : Year;
        b = w.enter(at);
    }
    return at;
}
TableStore tableOfHusbands(const QStringList &husbands, const QStringList &wives = {})
{
    QStringList lines;
    for (int i = 0; i < husbands.size(); ++i)
        lines << recordLine({{"Nom EPX", husbands[i]}, {"Nom EPSE", i < wives.size() ? wives[i] : QString()}});
    return testutil::tableOf(lines);
}
const QStringList Parishes{QStringLiteral("Saint-Martin"), QStringLiteral("Sainte-Anne"), QStringLiteral("Serres")};
} // namespace

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    // Every box but the dates: its limit, its alignment and what "2a+ b" typed into it
    // becomes (the copy into the father's surname only from the two spouses' surnames).
    void everyBoxHasItsRule_data()
    {
        QTest::addColumn<int>("box"), QTest::addColumn<QString>("expected");
        for (const QStringList &c : testutil::caseRows("box_rules.txt"))
            QTest::addRow("Txt(%s)", qPrintable(c[0])) << c[0].toInt() << c[1];
    }
    void everyBoxHasItsRule()
    {
        QFETCH(int, box); QFETCH(QString, expected);
        const bool code = expected == u"2A", marker = expected == u"+";
        Window w;
        QCOMPARE(fieldrules::maxLength(box, w.date), code ? 2 : marker ? 1 : 0);
        QCOMPARE(boxInfo(box).align, code || marker ? Align::Center : Align::Left);
        QCOMPARE(w.type(box, "2a+ b").text, expected);
        QCOMPARE(w.beeps, marker ? 4 : 0);
        for (int other = 0; other < record::TxtCount; ++other)
            if (other != box)
                QCOMPARE(w.txt[other], (box == 6 || box == 18) && other == box + 4 ? expected : QString());
    }
    // Particles by caret position: only the text before it counts; a typed space rewrites the same, the space at the caret.
    void particlesByCaret()
    {
        for (const QStringList &c : testutil::caseRows("particles.txt")) {
            const int caret = c[1].toInt();
            QCOMPARE(lowerParticles(c[0], caret), c[2]);
            const Box b = Window().type(Surname, " ", Box{c[0], caret, 0});
            QCOMPARE(b, (Box{c[2].left(caret) + u' ' + c[2].mid(caret), caret + 1, 0}));
        }
    }
    void surnameCopiedWhileTypingAndDeleting()
    {
        Window w;
        Box b = w.type(Surname, "duran", Box{});
        // The father's surname typed differently stops the copy; equal again (any case), it resumes.
        w.type(FatherSurname, "x");
        b = w.key(Surname, b, u'd');
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANX"));
        w.txt[FatherSurname] = QStringLiteral("durand"), w.key(Surname, b, u's');
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANDS"));
        // A particle rewritten while typing is copied too; the wife's pair is her own.
        Window p;
        p.type(WifeSurname, "de la fontaine");
        QCOMPARE(p.txt[WifeFather] + u'|' + p.txt[FatherSurname], QStringLiteral("de la FONTAINE|"));
        // Deleting in the surname deletes in the copy.
        for (const QStringList &c : testutil::caseRows("surname_copies.txt")) {
            Window w;
            const int box = c[0].toInt(), father = box + 4;
            w.txt[box] = c[1];
            w.txt[father] = c[2];
            const QChar key = c[5] == u"Bksp" ? Bksp : c[5] == u"CtrlBksp" ? QChar(key::CtrlBackspace) : c[5].at(0);
            const Box after = w.key(box, Box{c[1], c[3].toInt(), c[4].toInt()}, key);
            QCOMPARE(w.txt[box] + u'|' + w.txt[father] + u'|' + QString::number(after.caret), c.mid(6).join(u'|'));
        }
    }
    // Leaving the father's marker clears a copy that names nobody.
    void copyClearedWhenTheMarkerIsLeft()
    {
        for (const QStringList &c : testutil::caseRows("father_copies.txt")) {
            const int marker = c[0].toInt();
            const bool wife = marker >= 18;
            Window w;
            w.txt[wife ? WifeSurname : Surname] = QStringLiteral("DURAND");
            w.txt[wife ? WifeFather : FatherSurname] = c[1];
            w.txt[wife ? WifeFatherFirst : FatherFirst] = c[2];
            w.help = QStringLiteral("x");
            w.leave(marker, {});
            QCOMPARE(w.txt[wife ? WifeFather : FatherSurname], c[3]);
            QCOMPARE(w.help, QString());
        }
    }
    void originCompletion()
    {
        TableStore t = testutil::tableOf({origin("Lyac", "Lavec"), origin("Lidre", "Lambezen"),
                                           QStringLiteral("Brevo\t\tMA\t\t\t0\tA\tB")});   // no field 9
        t.setLine(t.upperIndex(), origin("Quiberon", "Quiberon"));                      // never searched
        Window w;
        w.store = &t;
        Box b = w.type(Origin, "l");
        QCOMPARE(b, (Box{QStringLiteral("Lyac"), 1, 3}));
        b = w.type(Origin, "i", b);
        QCOMPARE(b, (Box{QStringLiteral("Lidre"), 2, 3}));
        QCOMPARE(w.type(Origin, "x", b), (Box{QStringLiteral("Lix"), 3, 0}));
        // Each spouse's box proposes only that spouse's origins.
        QCOMPARE(w.type(Origin, "la", Box{}).text, QStringLiteral("La"));
        QCOMPARE(w.type(WifeOrigin, "la", Box{}).text, QStringLiteral("Lavec"));
        QCOMPARE(w.type(WifeOrigin, "m", Box{QStringLiteral("Lavec"), 2, 3}).text, QStringLiteral("Lambezen"));
        QCOMPARE(w.type(Origin, "q", Box{}).text, QStringLiteral("Q"));
        QCOMPARE(w.type(Origin, "b", Box{QString(), 5, 0}), (Box{QStringLiteral("B"), 1, 0}));   // a stale caret taken as the end
        // Case-sensitive on the shaped key; characters after the caret do not count.
        QCOMPARE(w.type(Origin, "y", Box{QStringLiteral("LQQ"), 1, 0}), (Box{QStringLiteral("Lyac"), 2, 2}));
        // No table at all: the key is typed as it is.
        QCOMPARE(Window().type(Origin, "quintec").text, QStringLiteral("Quintec"));
        // The completion reads a column of the origins; it must follow every change of the table.
        t = testutil::tableOf({origin("Lyac", "Lavec"), origin("Lidre", "Lorvenn"), origin("Louzen", "Lenv")});
        auto proposal = [&](int index, const QString &prefix) { return originProposal(t, index, prefix).value_or("-"); };
        QCOMPARE(proposal(Origin, "Li") + proposal(WifeOrigin, "Lo"), QStringLiteral("LidreLorvenn"));
        t.setLine(2, origin("Limoges", "Lambezen"));               // a record stored
        QCOMPARE(proposal(Origin, "Li") + proposal(WifeOrigin, "Lo"), QStringLiteral("Limoges-"));
        QVERIFY(t.deleteRecord(1));                                 // later records move down
        QCOMPARE(proposal(Origin, "L"), QStringLiteral("Limoges"));
        t.setLine(t.upperIndex(), origin("Lourdes", "Lourdes"));
        t.grow();                                                    // the spare slot appended as a record
        QCOMPARE(proposal(Origin, "Lour"), QStringLiteral("Lourdes"));
        t.setContent({QStringLiteral("Autre\t\t\t"), origin("Lyac", "Lavec")});   // another table
        QCOMPARE(proposal(Origin, "Li") + proposal(WifeOrigin, "La"), QStringLiteral("-Lavec"));
        const TableStore other = testutil::tableOf({origin("Dinan", "Dol")});   // two tables side by side
        QCOMPARE(originProposal(other, Origin, "D").value_or(QString()), QStringLiteral("Dinan"));
        QCOMPARE(proposal(Origin, "Ly"), QStringLiteral("Lyac"));
    }
    void everyBoxOnEnterFocusLeavingAndOddKeys()
    {
        const QString dateHelp = QStringLiteral("Format date: 03/05/1815 (Calendrier Grégorien); 15/brum/04 (Calendrier Républicain)");
        const QString markerHelp = QStringLiteral("Si la personne est décédée lors du mariage, mettre \"+\"");
        for (int i = 0; i < record::TxtCount; ++i) {
            Window w;
            const Result r = keyPress(i, Box{QStringLiteral("12"), 1, 0}, QChar(13), w);
            QVERIFY(r.key.isNull() && !r.beep);
            QCOMPARE(r.focus, Focus::NextControl);
            QCOMPARE(r.box.text, QStringLiteral("12"));
            const Result in = gotFocus(i, Box{QStringLiteral("abc"), 2, 0}, w);
            QCOMPARE(in.box, (Box{QStringLiteral("abc"), 0, 3}));
            // The help line is left as it was but on the date and the death markers.
            const bool marker = i == 12 || i == 15 || i == 24 || i == 27;
            QCOMPARE(in.help.value_or("kept"), i >= 3 && i <= 5 ? dateHelp : marker ? markerHelp : QStringLiteral("kept"));
            QCOMPARE(lostFocus(i, in.box, w).help.value_or(QStringLiteral("kept")), QString());
        }
        // Only the characters a field may hold are typed.
        Window w;
        QCOMPARE(w.type(Notes, QStringLiteral("a\tb€") + QChar(0x0101)).text, QStringLiteral("ab€"));
        QCOMPARE(w.beeps, 2);
        QCOMPARE(w.type(Surname, QStringLiteral("a\nb")).text, QStringLiteral("AB"));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("AB"));
        QCOMPARE(w.type(Notes, QString(QChar(key::CtrlBackspace)), Box{QStringLiteral("registre"), 8, 0}).text, QString());   // the first word
    }
    // Keys typed into one box, from the table of cases.
    void keysInOneBox()
    {
        const QStringList focus{"stay", "next", "month", "year", "dispense"};
        for (const QStringList &c : testutil::caseRows("keys_in_one_box.txt")) {
            Window w = windowIn(Layouts.indexOf(c[0]));
            const Box start = c.size() > 6 ? Box{c[6], c[7].toInt(), c[8].toInt()} : Box{};
            QCOMPARE(w.type(c[1].toInt(), c[2], start).text, c[3]);
            QVERIFY2(w.beeps == c[4].toInt() && int(w.lastFocus) == focus.indexOf(c[5]), qPrintable(c.join(u' ')));
        }
    }
    // A month name completes from its first letters in every layout, and widens the month box.
    void monthNameCompletion()
    {
        for (const QStringList &c : testutil::caseRows("month_names.txt"))
            for (int l : {Designed, Gregorian, Republican}) {
                Window w = windowIn(l);
                const int caret = c[2].toInt();
                QCOMPARE(w.type(Month, c[0], Box{}), (Box{c[1], caret, int(c[1].size()) - caret}));
                QCOMPARE(w.beeps, 0);
                QVERIFY(c[1].isEmpty() || w.date.monthMaxLength == 4);
            }
    }
    void republicanMonthSwitchesAndIsEditedBack()
    {
        Window w = windowIn(Gregorian);
        w.txt[Year] = QStringLiteral("1815");
        QCOMPARE(w.type(Month, "b", Box{}), (Box{QStringLiteral("Brum"), 1, 3}));
        QCOMPARE(boxes(w.date), QStringLiteral("4 470 2 300 5540 5435"));
        // The year typed before is not touched by the switch, nor by leaving it.
        w.leave(Year, Box{w.txt[Year], 4, 0});
        QCOMPARE(w.txt[Year], QStringLiteral("1815"));
        QCOMPARE(w.type(Month, "5", w.enter(Month)).text, QStringLiteral("Brum"));   // no digits
        // Emptied, a digit switches to the Gregorian layout.
        Box b = w.type(Month, QString(QChar(key::Backspace)) + u'5', w.enter(Month));
        QCOMPARE(b.text, QStringLiteral("5"));
        QCOMPARE(w.date.monthMaxLength, 2);
        // A month name cut short is dropped on leaving, and the Gregorian layout comes back.
        for (int cut : {3, 1}) {
            b = w.type(Month, QStringLiteral("brum") + QString(cut, QChar(key::Backspace)), Box{});
            w.leave(Month, b);
            QVERIFY2(b.text.size() == 4 - cut && w.txt[Month].isEmpty() && boxes(w.date) == "2 300 4 470 5370 5265", qPrintable(b.text));
        }
        QCOMPARE(w.beeps, 0);
    }
    void paddingAndCaseOnLeaving()
    {
        for (const QStringList &c : testutil::caseRows("dates_on_leaving.txt")) {
            Window w = windowIn(Layouts.indexOf(c[0]));
            const Result r = lostFocus(c[1].toInt(), Box{c[2], int(c[2].size()), 0}, w);
            QCOMPARE(r.box.text, c[3]);
            QCOMPARE(r.align.value_or(Align::Left), Align::Center);
            QCOMPARE(r.help.value_or(QStringLiteral("kept")), QString());
            QVERIFY(!r.layout);
        }
    }
    void wholeDateInARow()
    {
        Window w;   // the window just opened: the first month digit switches to Gregorian
        QCOMPARE(boxes(w.date), QStringLiteral("4 300 0 470 5350 5270"));
        QCOMPARE(typeDate(w, "03051815"), -1);
        QCOMPARE((QStringList{w.txt[Day], w.txt[Month], w.txt[Year]}), (QStringList{"03", "05", "1815"}));
        QCOMPARE(boxes(w.date), QStringLiteral("2 300 4 470 5370 5265"));
        Window r = windowIn(Gregorian);
        QCOMPARE(typeDate(r, "15brum04"), -1);
        QCOMPARE((QStringList{r.txt[Day], r.txt[Month], r.txt[Year]}), (QStringList{"15", "Brum", "04"}));
        QCOMPARE(w.beeps + r.beeps, 0);
        // It moves on only with the caret at the length, and the year of the designed state has none.
        Window d;
        QCOMPARE(keyUp(Year, Box{QStringLiteral("14"), 2, 0}, d).focus, Focus::Stay);
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 1, 0}, r).focus, Focus::Stay);
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 2, 0}, r).focus, Focus::Month);
    }
    void searchOnTheHusbandsSurname()
    {
        search::SurnameIndex index;   // what the window searches with
        const TableStore t = tableOfHusbands({"MARTIN", "DURAND", "DUPONT", "de la FONTAINE"}, {"", "", "", "KERGOAT"});
        TableStore s;
        s.setContent({header(), QStringLiteral("a\tb\tc\td\te\tf\tNOM"), QString(), recordLine({{"Nom EPX", "NOM"}}),
                      recordLine({{"Nom EPX", "D?"}}), recordLine({{"Nom EPX", "ŒUVRE"}}), recordLine({{"Nom EPX", "DÿN"}})});
        for (const QStringList &c : testutil::caseRows("search_first.txt"))
            QCOMPARE(index.first(c[0] == u"s" ? s : t, c[1]), c[2].toInt());
        // ">" and "<" from the record shown, stopping at the ends.
        QCOMPARE((QList<int>{index.next(t, u"DUP", 3), index.next(t, u"DUP", 1), index.previous(t, u"DU", 3), index.previous(t, u"DU", 2),
                             index.next(t, u"", 1), index.previous(t, u"", 5)}), (QList<int>{0, 3, 2, 0, 2, 4}));   // the last from the spare slot: the last record first
        QCOMPARE(index.first(TableStore(), u""), 0);
        for (const QStringList &c : testutil::caseRows("search_keys.txt"))   // the search box after a key
            QCOMPARE(search::textAfterKey("DURAND", c[0].toInt(), c[1].toInt(), QChar(c[2].toInt())), c[3]);
    }
    void indexFollowsEditsDeletionsAndAppends()
    {
        TableStore t = tableOfHusbands({"MARTIN", "DURAND", "DUPONT", "LE BRIS", "DUVAL"});
        search::SurnameIndex index;
        auto agree = [&](const char *step) {
            for (const QString q : {"", "D", "DU", "DUP", "M", "X", "MORVAN", "D中"})
                for (int from = 0; from <= t.upperIndex() + 1; ++from)
                    for (int dir : {-1, 0, +1})
                        if (index.find(t, q, from, dir) != t.findField(search::SurnameField, q, from, dir, true))   // the lines read one by one
                            QFAIL(qPrintable(QStringLiteral("%1: q=%2 from=%3 dir=%4").arg(step, q).arg(from).arg(dir)));
        };
        agree("fresh");
        t.setLine(2, recordLine({{"Nom EPX", "MORVAN"}})), agree("edited");
        t.deleteRecord(1), agree("first deleted");
        t.grow(), t.setLine(t.upperIndex() - 1, recordLine({{"Nom EPX", "DUPUIS"}})), agree("appended");
        t.setLine(1, QStringLiteral("no tabs at all")), agree("broken line");
        for (int i = 0; i < 3000; ++i) {   // enough rewrites to rebuild the buffer
            t.setLine(1 + i % t.recordCount(), recordLine({{"Nom EPX", QStringLiteral("DU%1").arg(i)}}));
            QCOMPARE(index.first(t, QStringLiteral("DU%1").arg(i)), 1 + i % t.recordCount());
        }
        agree("rewritten");
        const TableStore before = t;   // a copy followed, then the table again
        t.setLine(2, recordLine({{"Nom EPX", "ZOLA"}}));
        for (int round = 0; round < 2; ++round)
            QVERIFY(index.first(t, u"ZOLA") == 2 && index.first(before, u"ZOLA") == 0);
        t.setContent({header(), recordLine({{"Nom EPX", "XAVIER"}})}), agree("another table");
    }
    void parishCompletionInListOrder()
    {
        // The list walk is the entry window's test; here the edges: "Sainte" letter by letter, the case following the hyphen rule.
        QCOMPARE(parish::key("Saint-Martin", 5, u'E', Parishes).text, QStringLiteral("Sainte-Anne"));
        QCOMPARE(parish::key("Saint-Martin", 6, u'm', Parishes).selectionLength, 5);
        QCOMPARE(parish::key("", 0, u's', {}).kind, parish::KeyResult::Refused);   // an empty list
        QCOMPARE(parish::key("Serres", 6, QChar(13), Parishes).kind, parish::KeyResult::NextField);
        QCOMPARE(parish::key("Serres", 6, QChar(8), Parishes).kind, parish::KeyResult::Pass);
        // The elided "d" before an apostrophe, then completion with it.
        const auto r = parish::key("Notre-Dame D", 12, u'\'', {QStringLiteral("Notre-Dame d'Ys")});
        QCOMPARE(r.text, QStringLiteral("Notre-Dame d'Ys"));
        QCOMPARE(r.caret, 13);
    }
};

QTEST_GUILESS_MAIN(TestFieldRules)
#include "test_app_fieldrules.moc"
