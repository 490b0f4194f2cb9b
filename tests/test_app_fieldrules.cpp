#include "app/fieldrules.h"
#include "ruleshost.h"
#include "testutil.h"

#include <QTest>

using namespace fieldrules;
using ruleshost::Window;
using testutil::recordLine;

namespace {
constexpr int Place = 0, FirstName = 7, Surname = 6, FatherSurname = 10, FatherFirst = 11, FatherMarker = 12;
constexpr int WifeSurname = 18, WifeFather = 22, WifeFatherFirst = 23, WifeFatherMarker = 24;
constexpr int Origin = 8, Code = 9, WifeOrigin = 20, Notes = 30;
const QChar Bksp(key::Backspace);

QString typed(int index, const QString &keys)
{
    Window w;
    return w.type(index, keys).text;
}

QString origin(const QString &husband, const QString &wife)
{
    return recordLine({{"Nom EPX", "A"}, {"Org EPX", husband}, {"Org EPSE", wife}});
}
} // namespace

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    void shapedWhileTyped_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("compound and elided d") << FirstName << "jean-marie d'orléans" << "Jean-Marie d'Orléans";
        QTest::newRow("caps lock") << FirstName << "MARIE" << "Marie";
        QTest::newRow("apostrophe starts a word") << FirstName << "o'neil" << "O'Neil";
        QTest::newRow("d' at the start") << Place << "D'ARRAS" << "d'Arras";
        QTest::newRow("slash") << Place << "brest/recouvrance" << "Brest/Recouvrance";
        QTest::newRow("accented capital") << Place << "ÉTABLES" << "Étables";
        QTest::newRow("oe ligature") << FirstName << "œdipe" << "Œdipe";
        QTest::newRow("eszett stays") << FirstName << "ßa" << "ßa";
        QTest::newRow("D not alone keeps its case") << Place << "ad'x" << "Ad'X";
        QTest::newRow("surname de la") << Surname << "de la fontaine" << "de la FONTAINE";
        QTest::newRow("surname d'") << 28 << "d'artois" << "d'ARTOIS";
        QTest::newRow("surname LE D' stays") << Surname << "le d'" << "LE D'";
        QTest::newRow("surname de la after a name") << 28 << "marie de la " << "MARIE de la ";
        QTest::newRow("surname accents, mu and eszett") << Surname << "éloiµß" << "ÉLOIµß";
        QTest::newRow("notes as typed") << Notes << "voir DE LA paroisse" << "voir DE LA paroisse";
        QTest::newRow("parish as typed") << 1 << "st jean" << "st jean";
    }
    void shapedWhileTyped()
    {
        QFETCH(int, box);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QCOMPARE(typed(box, keys), expected);
    }

    // Every box but the dates: its limit, its alignment and what "2a+ b" typed into it
    // becomes (the copy into the father's surname only from the two spouses' surnames).
    void everyBoxHasItsRule_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("beeps");
        const QString initial = "2a+ B", capitals = "2A+ B", asTyped = "2a+ b", code = "2A", marker = "+";
        const QList<QPair<int, QString>> boxes{
            {0, initial}, {1, asTyped}, {2, capitals}, {6, capitals}, {7, initial}, {8, initial}, {9, code},
            {10, capitals}, {11, initial}, {12, marker}, {13, capitals}, {14, initial}, {15, marker},
            {16, capitals}, {17, initial}, {18, capitals}, {19, initial}, {20, initial}, {21, code},
            {22, capitals}, {23, initial}, {24, marker}, {25, capitals}, {26, initial}, {27, marker},
            {28, capitals}, {29, initial}, {30, asTyped}};
        for (const auto &[i, expected] : boxes)
            QTest::addRow("Txt(%d)", i) << i << (expected == code ? 2 : expected == marker ? 1 : 0)
                                        << (expected == code || expected == marker) << expected
                                        << (expected == marker ? 4 : 0);
    }
    void everyBoxHasItsRule()
    {
        QFETCH(int, box);
        QFETCH(int, maxLength);
        QFETCH(bool, centred);
        QFETCH(QString, expected);
        QFETCH(int, beeps);
        Window w;
        QCOMPARE(fieldrules::maxLength(box, w.date), maxLength);
        QCOMPARE(boxInfo(box).align, centred ? Align::Center : Align::Left);
        QCOMPARE(w.type(box, "2a+ b").text, expected);
        QCOMPARE(w.beeps, beeps);
        for (int other = 0; other < record::TxtCount; ++other)
            if (other != box)
                QCOMPARE(w.txt[other], (box == 6 || box == 18) && other == box + 4 ? expected : QString());
    }

    // The particle tests by caret position: only the text before the caret counts.
    void particlesByCaret_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0") << "DE" << 0 << "DE";
        QTest::newRow("1 D") << "D" << 1 << "d";
        QTest::newRow("2 blank D") << " D" << 2 << " d";
        QTest::newRow("2 DE") << "DE" << 2 << "de";
        QTest::newRow("3 blank DE") << " DE" << 3 << " de";
        QTest::newRow("3 blank D not seen") << "X D" << 3 << "X D";
        QTest::newRow("4 blank DE") << "X DE" << 4 << "X de";
        QTest::newRow("4 DE L") << "DE L" << 4 << "de l";
        QTest::newRow("4 blank D not seen") << "LE D" << 4 << "LE D";
        QTest::newRow("5 blank DE") << "XY DE" << 5 << "XY de";
        QTest::newRow("5 blank DE L") << " DE L" << 5 << " de l";
        QTest::newRow("5 DE LA, mixed case") << "De La" << 5 << "de la";
        QTest::newRow("5 blank D not seen") << "ABC D" << 5 << "ABC D";
        QTest::newRow("6 blank D") << "ABCD D" << 6 << "ABCD d";
        QTest::newRow("6 blank DE") << "ABC DE" << 6 << "ABC de";
        QTest::newRow("6 blank DE L") << "A DE L" << 6 << "A de l";
        QTest::newRow("6 blank DE LA") << " DE LA" << 6 << " de la";
        QTest::newRow("6 DE LA glued to a word") << "XDE LA" << 6 << "XDE LA";
        QTest::newRow("caret mid-text") << "LE DE LA ROCHE" << 5 << "LE de LA ROCHE";
    }
    void particlesByCaret()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, expected);
        QCOMPARE(lowerParticles(text, caret), expected);
        // Through a typed space the same rewrite happens, and the space goes at the caret.
        Window w;
        w.txt[Surname] = text;
        const Box b = w.type(Surname, " ", Box{text, caret, 0});
        QCOMPARE(b.text, expected.left(caret) + u' ' + expected.mid(caret));
        QCOMPARE(b.caret, caret + 1);
    }

    void surnameCopiedWhileTyping()
    {
        Window w;
        Box b = w.type(Surname, "duran", Box{});
        // The father's surname typed differently stops the copy; equal again (any case), it resumes.
        w.type(FatherSurname, "x");
        b = w.key(Surname, b, u'd');
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANX"));
        w.txt[FatherSurname] = QStringLiteral("durand");
        w.key(Surname, b, u's');
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANDS"));
        // A particle rewritten while typing is copied too; the wife's pair is her own.
        Window p;
        p.type(WifeSurname, "de la fontaine");
        QCOMPARE(p.txt[WifeFather] + u'|' + p.txt[FatherSurname], QStringLiteral("de la FONTAINE|"));
    }

    void surnameCopiedOnDeletion()
    {
        struct Case { int box; QString spouse, father; Box start; QChar key; QString spouseAfter, fatherAfter; int caret; };
        const Case cases[] = {
            {Surname, "DURAND", "DURAND", {"DURAND", 0, 6}, Bksp, "", "", 0},             // tabbed in: all selected
            {Surname, "DURAND", "DURAND", {"DURAND", 3, 0}, Bksp, "DUAND", "DUAND", 2},
            {Surname, "MARTIN", "MARTIN", {"MARTIN", 1, 3}, u'o', "MOIN", "MOIN", 2},     // typed over a selection
            {Surname, "DURAND", "MARTIN", {"DURAND", 6, 0}, Bksp, "DURAN", "MARTIN", 5},  // different: left alone
            {WifeSurname, "LE GOFF", "LE GOFF", {"LE GOFF", 7, 0}, QChar(key::CtrlBackspace), "LE ", "LE ", 3},
            {Surname, "DURAND", "DURAND", {"DURAND", 0, 0}, Bksp, "DURAND", "DURAND", 0},   // at the start: nothing
        };
        for (const Case &c : cases) {
            Window w;
            const int father = c.box == Surname ? FatherSurname : WifeFather;
            w.txt[c.box] = c.spouse;
            w.txt[father] = c.father;
            const Box after = w.key(c.box, c.start, c.key);
            QCOMPARE(w.txt[c.box], c.spouseAfter);
            QCOMPARE(after.caret, c.caret);
            QCOMPARE(w.txt[father], c.fatherAfter);
        }
    }

    void copyClearedWhenTheMarkerIsLeft()
    {
        struct Case { int marker; QString father, fatherFirst, expected; };
        const Case cases[] = {
            {FatherMarker, "DURAND", "", ""},             // unnamed father
            {FatherMarker, "DURAND", "Yves", "DURAND"},   // named father
            {FatherMarker, "Durand", "", "Durand"},       // case differs
            {WifeFatherMarker, "DURAND", "", ""},
            {15, "DURAND", "", "DURAND"},                 // the mother's marker clears nothing
        };
        for (const Case &c : cases) {
            const bool wife = c.marker >= 18;
            Window w;
            w.txt[wife ? WifeSurname : Surname] = QStringLiteral("DURAND");
            w.txt[wife ? WifeFather : FatherSurname] = c.father;
            w.txt[wife ? WifeFatherFirst : FatherFirst] = c.fatherFirst;
            w.help = QStringLiteral("x");
            w.leave(c.marker, {});
            QCOMPARE(w.txt[wife ? WifeFather : FatherSurname], c.expected);
            QCOMPARE(w.help, QString());
        }
    }

    void originCompletion()
    {
        TableStore t = ruleshost::tableOf({origin("Lyon", "Laval"), origin("Lille", "Lamballe"),
                                           QStringLiteral("Brest\t\tMA\t\t\t0\tA\tB")});   // no field 9
        t.setLine(t.upperIndex(), origin("Quiberon", "Quiberon"));                      // never searched
        Window w;
        w.store = &t;
        Box b = w.type(Origin, "l");
        QCOMPARE(b, (Box{QStringLiteral("Lyon"), 1, 3}));
        b = w.type(Origin, "i", b);
        QCOMPARE(b, (Box{QStringLiteral("Lille"), 2, 3}));
        QCOMPARE(w.type(Origin, "x", b), (Box{QStringLiteral("Lix"), 3, 0}));
        // Each spouse's box proposes only that spouse's origins.
        QCOMPARE(w.type(Origin, "la", Box{}).text, QStringLiteral("La"));
        QCOMPARE(w.type(WifeOrigin, "la", Box{}).text, QStringLiteral("Laval"));
        QCOMPARE(w.type(WifeOrigin, "m", Box{QStringLiteral("Laval"), 2, 3}).text, QStringLiteral("Lamballe"));
        QCOMPARE(w.type(Origin, "q", Box{}).text, QStringLiteral("Q"));
        QCOMPARE(w.type(Origin, "b", Box{}).text, QStringLiteral("B"));
        // Case-sensitive on the shaped key; characters after the caret do not count.
        QCOMPARE(w.type(Origin, "y", Box{QStringLiteral("LQQ"), 1, 0}), (Box{QStringLiteral("Lyon"), 2, 2}));
        // No table at all: the key is typed as it is.
        QCOMPARE(typed(Origin, "quimper"), QStringLiteral("Quimper"));
    }

    // The completion reads a column of the origins; it must follow every change of the table.
    void originCompletionFollowsTheTable()
    {
        TableStore t = ruleshost::tableOf({origin("Lyon", "Laval"), origin("Lille", "Lorient"), origin("Loudun", "Lens")});
        auto proposal = [&](int position, const QString &prefix) { return originProposal(t, position, prefix).value_or("-"); };
        QCOMPARE(proposal(9, "Li") + proposal(59, "Lo"), QStringLiteral("LilleLorient"));
        t.setLine(2, origin("Limoges", "Lamballe"));               // a record stored
        QCOMPARE(proposal(9, "Li") + proposal(59, "Lo"), QStringLiteral("Limoges-"));
        QVERIFY(t.deleteRecord(1));                                 // later records move down
        QCOMPARE(proposal(9, "L"), QStringLiteral("Limoges"));
        t.setLine(t.upperIndex(), origin("Lourdes", "Lourdes"));
        t.grow();                                                    // the spare slot appended as a record
        QCOMPARE(proposal(9, "Lour"), QStringLiteral("Lourdes"));
        t.setContent({QStringLiteral("Autre\t\t\t"), origin("Lyon", "Laval")});   // another table
        QCOMPARE(proposal(9, "Li") + proposal(59, "La"), QStringLiteral("-Laval"));
        const TableStore other = ruleshost::tableOf({origin("Dinan", "Dol")});   // two tables side by side
        QCOMPARE(originProposal(other, 9, "D").value_or(QString()), QStringLiteral("Dinan"));
        QCOMPARE(proposal(9, "Ly"), QStringLiteral("Lyon"));
    }

    void placeCodes()
    {
        struct Case { Box start; QString keys, expected; };
        const Case cases[] = {
            {{}, "2a", "2A"}, {{}, "2b", "2B"}, {{}, "3a", "3"}, {{}, "A", ""}, {{}, "2c", "2"},
            {{}, "291", "29"},                        // two characters at most
            {{"29", 1, 1}, "b", "2B"},                // the second character selected
            {{"39", 1, 1}, "a", "39"},
        };
        for (const Case &c : cases) {
            Window w;
            QCOMPARE(w.type(Code, c.keys, c.start).text, c.expected);
            QCOMPARE(w.type(21, c.keys, c.start).text, c.expected);
            QCOMPARE(w.beeps, 0);
        }
    }

    void everyBoxOnEnterFocusAndLeaving()
    {
        const QString dateHelp = QStringLiteral("Format date: 03/05/1815 (Calendrier Grégorien); 15/brum/04 (Calendrier Républicain)");
        const QString markerHelp = QStringLiteral("Si la personne est décédée lors du mariage, mettre \"+\"");
        for (int i = 0; i < record::TxtCount; ++i) {
            Window w;
            const Result r = keyPress(i, Box{QStringLiteral("12"), 1, 0}, QChar(key::Enter), w);
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
    }

    void onlyFieldCharactersAreTyped()
    {
        Window w;
        QCOMPARE(w.type(Notes, QStringLiteral("a\tb€") + QChar(0x0101)).text, QStringLiteral("ab€"));
        QCOMPARE(w.beeps, 2);
        QCOMPARE(w.type(Surname, QStringLiteral("a\nb")).text, QStringLiteral("AB"));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("AB"));
        QCOMPARE(keyDown(6, {}, 33).pageKey, 33);   // Page Up and Down go to the window
        QCOMPARE(keyDown(30, {}, 34).pageKey, 34);
        QCOMPARE(keyDown(6, {}, 35).pageKey, 0);
    }
};

QTEST_GUILESS_MAIN(TestFieldRules)
#include "test_app_fieldrules.moc"
