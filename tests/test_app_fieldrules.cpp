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

QString typed(int index, const QString &keys)
{
    Window w;
    return w.type(index, keys).text;
}
} // namespace

class TestFieldRules : public QObject {
    Q_OBJECT
private slots:
    void initialCapitals_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("compound and elided d") << FirstName << "jean-marie d'orléans" << "Jean-Marie d'Orléans";
        QTest::newRow("caps lock") << FirstName << "MARIE" << "Marie";
        QTest::newRow("two names") << FirstName << "jean marie" << "Jean Marie";
        QTest::newRow("apostrophe starts a word") << FirstName << "o'neil" << "O'Neil";
        QTest::newRow("bracket") << FirstName << "(veuve)" << "(Veuve)";
        QTest::newRow("d' in a place") << Place << "pierre d'arras" << "Pierre d'Arras";
        QTest::newRow("d' at the start") << Place << "D'ARRAS" << "d'Arras";
        QTest::newRow("slash") << Place << "brest/recouvrance" << "Brest/Recouvrance";
        QTest::newRow("accented capital") << Place << "ÉTABLES" << "Étables";
        QTest::newRow("oe ligature") << FirstName << "œdipe" << "Œdipe";
        QTest::newRow("eszett stays") << FirstName << "ßa" << "ßa";
        QTest::newRow("digits pass") << Place << "3e canton" << "3e Canton";
        QTest::newRow("D not alone keeps its case") << Place << "ad'x" << "Ad'X";
    }
    void initialCapitals()
    {
        QFETCH(int, box);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QCOMPARE(typed(box, keys), expected);
    }

    void capitals_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("de la") << "de la fontaine" << "de la FONTAINE";
        QTest::newRow("d'") << "d'artois" << "d'ARTOIS";
        QTest::newRow("du stays") << "du " << "DU ";
        QTest::newRow("LE D' stays") << "le d'" << "LE D'";
        QTest::newRow("de la after a name") << "marie de la " << "MARIE de la ";
        QTest::newRow("d' after a long name") << "jeanne d'arc" << "JEANNE d'ARC";
        QTest::newRow("de after a short name") << "le de " << "LE de ";
        QTest::newRow("accents") << "éloi" << "ÉLOI";
        QTest::newRow("mu and eszett stay") << "µß" << "µß";
    }
    void capitals()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QCOMPARE(typed(Surname, keys), expected);
        QCOMPARE(typed(28, keys), expected);
    }

    // The particle tests by caret position: only the text before the caret counts.
    void particlesByCaret_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0") << "DE" << 0 << "DE";
        QTest::newRow("1 D") << "D" << 1 << "d";
        QTest::newRow("1 other") << "X" << 1 << "X";
        QTest::newRow("2 blank D") << " D" << 2 << " d";
        QTest::newRow("2 DE") << "DE" << 2 << "de";
        QTest::newRow("2 DU") << "DU" << 2 << "DU";
        QTest::newRow("3 blank DE") << " DE" << 3 << " de";
        QTest::newRow("3 blank D not seen") << "X D" << 3 << "X D";
        QTest::newRow("4 blank DE") << "X DE" << 4 << "X de";
        QTest::newRow("4 DE L") << "DE L" << 4 << "de l";
        QTest::newRow("4 blank D not seen") << "LE D" << 4 << "LE D";
        QTest::newRow("5 blank DE") << "XY DE" << 5 << "XY de";
        QTest::newRow("5 blank DE L") << " DE L" << 5 << " de l";
        QTest::newRow("5 DE LA") << "DE LA" << 5 << "de la";
        QTest::newRow("5 blank D not seen") << "ABC D" << 5 << "ABC D";
        QTest::newRow("6 blank D") << "ABCD D" << 6 << "ABCD d";
        QTest::newRow("6 blank DE") << "ABC DE" << 6 << "ABC de";
        QTest::newRow("6 blank DE L") << "A DE L" << 6 << "A de l";
        QTest::newRow("6 blank DE LA") << " DE LA" << 6 << " de la";
        QTest::newRow("6 DE LA glued to a word") << "XDE LA" << 6 << "XDE LA";
        QTest::newRow("9 blank DE LA") << "ANNE DE LA" << 10 << "ANNE de la";
        QTest::newRow("mixed case") << "De La" << 5 << "de la";
        QTest::newRow("text after the caret untouched") << "DE LAFONTAINE" << 5 << "de laFONTAINE";
        QTest::newRow("caret mid-text") << "LE DE LA ROCHE" << 5 << "LE de LA ROCHE";
        QTest::newRow("DES is no particle") << "JEAN DES" << 8 << "JEAN DES";
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

    void surnameCopy()
    {
        Window w;
        // Letter by letter into the father's surname.
        Box b{};
        const QString name = QStringLiteral("DURAND");
        for (int i = 0; i < name.size(); ++i) {
            b = w.key(Surname, b, name.at(i).toLower());
            QCOMPARE(w.txt[FatherSurname], name.left(i + 1));
        }
        QCOMPARE(w.txt[WifeFather], QString());
        // A particle rewritten while typing is copied too.
        Window p;
        p.type(Surname, "de la fontaine");
        QCOMPARE(p.txt[FatherSurname], QStringLiteral("de la FONTAINE"));

        // The father's surname typed differently stops the copy; equal again, it resumes.
        w.type(FatherSurname, "x");
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANDX"));
        b = w.key(Surname, b, u'e');
        QCOMPARE(w.txt[Surname], QStringLiteral("DURANDE"));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANDX"));
        w.txt[FatherSurname] = QStringLiteral("durande");   // equal ignoring case
        w.key(Surname, b, u's');
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DURANDES"));

        // Typing over a selection: the father gets what the spouse's box becomes.
        Window s;
        s.txt[Surname] = s.txt[FatherSurname] = QStringLiteral("MARTIN");
        s.type(Surname, "o", Box{QStringLiteral("MARTIN"), 1, 3});
        QCOMPARE(s.txt[Surname], QStringLiteral("MOIN"));
        QCOMPARE(s.txt[FatherSurname], QStringLiteral("MOIN"));

        // The wife's pair is her own.
        Window f;
        f.type(WifeSurname, "le goff");
        QCOMPARE(f.txt[WifeFather], QStringLiteral("LE GOFF"));
        QCOMPARE(f.txt[FatherSurname], QString());
    }

    void surnameCopyOnDeletion()
    {
        // Tabbing in (all selected) and Backspace empties both.
        Window w;
        w.txt[Surname] = w.txt[FatherSurname] = QStringLiteral("DURAND");
        w.key(Surname, w.enter(Surname), QChar(key::Backspace));
        QCOMPARE(w.txt[Surname], QString());
        QCOMPARE(w.txt[FatherSurname], QString());

        // Without a selection the character before the caret goes from both.
        w.txt[Surname] = w.txt[FatherSurname] = QStringLiteral("DURAND");
        w.key(Surname, Box{QStringLiteral("DURAND"), 3, 0}, QChar(key::Backspace));
        QCOMPARE(w.txt[Surname], QStringLiteral("DUAND"));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("DUAND"));

        // At the start nothing is deleted and the father keeps his own case.
        w.txt[Surname] = QStringLiteral("DURAND");
        w.txt[FatherSurname] = QStringLiteral("durand");
        w.key(Surname, Box{QStringLiteral("DURAND"), 0, 0}, QChar(key::Backspace));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("durand"));

        // Different surnames: the father is left alone.
        w.txt[Surname] = QStringLiteral("DURAND");
        w.txt[FatherSurname] = QStringLiteral("MARTIN");
        w.key(Surname, Box{QStringLiteral("DURAND"), 6, 0}, QChar(key::Backspace));
        QCOMPARE(w.txt[Surname], QStringLiteral("DURAN"));
        QCOMPARE(w.txt[FatherSurname], QStringLiteral("MARTIN"));

        // Ctrl+Backspace takes the word before the caret from both, and inserts nothing.
        w.txt[WifeSurname] = w.txt[WifeFather] = QStringLiteral("LE GOFF");
        w.key(WifeSurname, Box{QStringLiteral("LE GOFF"), 7, 0}, QChar(key::CtrlBackspace));
        QCOMPARE(w.txt[WifeSurname], QStringLiteral("LE "));
        QCOMPARE(w.txt[WifeFather], QStringLiteral("LE "));
    }

    void copyClearedWhenTheMarkerIsLeft_data()
    {
        QTest::addColumn<int>("marker");
        QTest::addColumn<QString>("spouse");
        QTest::addColumn<QString>("father");
        QTest::addColumn<QString>("fatherFirst");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unnamed father") << FatherMarker << "DURAND" << "DURAND" << "" << "";
        QTest::newRow("named father") << FatherMarker << "DURAND" << "DURAND" << "Yves" << "DURAND";
        QTest::newRow("case differs") << FatherMarker << "DURAND" << "Durand" << "" << "Durand";
        QTest::newRow("other surname") << FatherMarker << "DURAND" << "MARTIN" << "" << "MARTIN";
        QTest::newRow("wife's father") << WifeFatherMarker << "LE GOFF" << "LE GOFF" << "" << "";
        QTest::newRow("mother's marker clears nothing") << 15 << "DURAND" << "DURAND" << "" << "DURAND";
    }
    void copyClearedWhenTheMarkerIsLeft()
    {
        QFETCH(int, marker);
        QFETCH(QString, spouse);
        QFETCH(QString, father);
        QFETCH(QString, fatherFirst);
        QFETCH(QString, expected);
        const bool wife = marker >= 18;
        Window w;
        w.txt[wife ? WifeSurname : Surname] = spouse;
        w.txt[wife ? WifeFather : FatherSurname] = father;
        w.txt[wife ? WifeFatherFirst : FatherFirst] = fatherFirst;
        w.help = QStringLiteral("x");
        w.leave(marker, {});
        QCOMPARE(w.txt[wife ? WifeFather : FatherSurname], expected);
        QCOMPARE(w.help, QString());
    }

    void originCompletion()
    {
        const TableStore t = ruleshost::tableOf({
            recordLine({{"Nom EPX", "A"}, {"Org EPX", "Lyon"}, {"Org EPSE", "Laval"}}),
            recordLine({{"Nom EPX", "B"}, {"Org EPX", "Lille"}, {"Org EPSE", "Lamballe"}}),
        });
        Window w;
        w.store = &t;
        Box b = w.type(Origin, "l");
        QCOMPARE(b, (Box{QStringLiteral("Lyon"), 1, 3}));
        b = w.type(Origin, "i", b);
        QCOMPARE(b, (Box{QStringLiteral("Lille"), 2, 3}));
        b = w.type(Origin, "x", b);
        QCOMPARE(b, (Box{QStringLiteral("Lix"), 3, 0}));

        // The husband's box never proposes the wife's origins, and the other way round.
        Window h;
        h.store = &t;
        QCOMPARE(h.type(Origin, "la").text, QStringLiteral("La"));
        QCOMPARE(h.type(WifeOrigin, "la").text, QStringLiteral("Laval"));
        QCOMPARE(h.type(WifeOrigin, "m", Box{QStringLiteral("Laval"), 2, 3}).text, QStringLiteral("Lamballe"));

        // Case-sensitive on the shaped key; characters after the caret do not count.
        Window c;
        c.store = &t;
        QCOMPARE(c.type(Origin, "y", Box{QStringLiteral("LQQ"), 1, 0}), (Box{QStringLiteral("Lyon"), 2, 2}));
        QCOMPARE(c.type(Origin, " ", Box{QStringLiteral("Lyon"), 4, 0}).text, QStringLiteral("Lyon "));
    }

    void originCompletionSkipsShortLinesAndTheSpareSlot()
    {
        TableStore t = ruleshost::tableOf({QStringLiteral("Brest\t\tMA\t\t\t0\tA\tB"),   // no field 9
                                           recordLine({{"Nom EPX", "A"}, {"Org EPX", "Quimper"}})});
        t.setLine(t.upperIndex(), recordLine({{"Org EPX", "Quiberon"}, {"Org EPSE", "Quiberon"}}));
        Window w;
        w.store = &t;
        QCOMPARE(w.type(Origin, "qui").text, QStringLiteral("Quimper"));
        QCOMPARE(w.type(WifeOrigin, "q").text, QStringLiteral("Q"));
        QCOMPARE(w.type(Origin, "b", Box{}).text, QStringLiteral("B"));
        // No table at all: the key is typed as it is.
        Window none;
        QCOMPARE(none.type(Origin, "quimper").text, QStringLiteral("Quimper"));
    }

    // The completion reads a column of the origins; it must follow every change of the table.
    void originCompletionFollowsTheTable()
    {
        auto origin = [](const QString &husband, const QString &wife) {
            return recordLine({{"Nom EPX", "A"}, {"Org EPX", husband}, {"Org EPSE", wife}});
        };
        TableStore t = ruleshost::tableOf({origin("Lyon", "Laval"), origin("Lille", "Lorient"), origin("Loudun", "Lens")});
        auto both = [&](int position, const QString &prefix) {
            const auto read = originProposal(t, position, prefix);
            const auto scanned = scanOrigins(t, position, prefix);
            return read == scanned ? read.value_or(QStringLiteral("-")) : QStringLiteral("differs");
        };
        QCOMPARE(both(9, "Li"), QStringLiteral("Lille"));
        QCOMPARE(both(59, "Lo"), QStringLiteral("Lorient"));
        t.setLine(2, origin("Limoges", "Lamballe"));          // a record stored
        QCOMPARE(both(9, "Li"), QStringLiteral("Limoges"));
        QCOMPARE(both(59, "Lo"), QStringLiteral("-"));
        QVERIFY(t.deleteRecord(1));                            // later records move down
        QCOMPARE(both(9, "L"), QStringLiteral("Limoges"));
        t.setLine(t.upperIndex(), origin("Lourdes", "Lourdes"));   // the spare slot is not searched
        QCOMPARE(both(9, "Lou"), QStringLiteral("Loudun"));
        t.grow();                                               // the spare slot appended as a record
        QCOMPARE(both(9, "Lour"), QStringLiteral("Lourdes"));
        t.setContent({QStringLiteral("Autre\t\t\t"), origin("Lyon", "Laval")});   // another table
        QCOMPARE(both(9, "Li"), QStringLiteral("-"));
        QCOMPARE(both(59, "La"), QStringLiteral("Laval"));
        TableStore other = ruleshost::tableOf({origin("Dinan", "Dol")});
        QCOMPARE(originProposal(other, 9, "D").value_or(QString()), QStringLiteral("Dinan"));
        QCOMPARE(both(9, "Ly"), QStringLiteral("Lyon"));
    }

    void placeCodes_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("sel");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2a") << "" << 0 << 0 << "2a" << "2A";
        QTest::newRow("2b") << "" << 0 << 0 << "2b" << "2B";
        QTest::newRow("3a") << "" << 0 << 0 << "3a" << "3";
        QTest::newRow("A first") << "" << 0 << 0 << "A" << "";
        QTest::newRow("other letters") << "" << 0 << 0 << "2c" << "2";
        QTest::newRow("two digits at most") << "" << 0 << 0 << "291" << "29";
        QTest::newRow("second character selected") << "29" << 1 << 1 << "b" << "2B";
        QTest::newRow("whole code selected") << "2A" << 0 << 2 << "a" << "2A";
        QTest::newRow("not after 2") << "39" << 1 << 1 << "a" << "39";
        QTest::newRow("digits replace") << "2A" << 0 << 2 << "56" << "56";
    }
    void placeCodes()
    {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(int, sel);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        Window w;
        QCOMPARE(w.type(Code, keys, Box{start, caret, sel}).text, expected);
        QCOMPARE(w.beeps, 0);
        QCOMPARE(w.type(21, keys, Box{start, caret, sel}).text, expected);
    }

    void eventMarkers()
    {
        for (int marker : {12, 15, 24, 27}) {
            Window w;
            QCOMPARE(w.type(marker, "+").text, QStringLiteral("+"));
            QCOMPARE(w.beeps, 0);
            QCOMPARE(w.type(marker, "x", Box{}).text, QString());
            QCOMPARE(w.beeps, 1);
            QCOMPARE(w.type(marker, "+", Box{QStringLiteral("+"), 1, 0}).text, QStringLiteral("+"));   // full
            QCOMPARE(w.type(marker, QString(QChar(key::Backspace)), Box{QStringLiteral("+"), 1, 0}).text, QString());
            QCOMPARE(w.beeps, 1);
        }
    }

    void enterMovesOnInEveryBox()
    {
        for (int i = 0; i < record::TxtCount; ++i) {
            Window w;
            const Result r = keyPress(i, Box{QStringLiteral("12"), 1, 0}, QChar(key::Enter), w);
            QVERIFY(r.key.isNull());
            QCOMPARE(r.focus, Focus::NextControl);
            QCOMPARE(r.box.text, QStringLiteral("12"));
            QVERIFY(!r.beep);
        }
    }

    void focusSelectsAllAndSetsTheHelp()
    {
        for (int i = 0; i < record::TxtCount; ++i) {
            Window w;
            const Result in = gotFocus(i, Box{QStringLiteral("abc"), 2, 0}, w);
            QCOMPARE(in.box, (Box{QStringLiteral("abc"), 0, 3}));
            if (i >= 3 && i <= 5) {
                QCOMPARE(in.help.value_or(QString()), QStringLiteral("Format date: 03/05/1815 (Calendrier Grégorien); 15/brum/04 (Calendrier Républicain)"));
            } else if (i == 12 || i == 15 || i == 24 || i == 27) {
                QCOMPARE(in.help.value_or(QString()), QStringLiteral("Si la personne est décédée lors du mariage, mettre \"+\""));
            } else {
                QVERIFY(!in.help);   // the help line is left as it was
            }
            QCOMPARE(lostFocus(i, in.box, w).help.value_or(QStringLiteral("kept")), QString());
        }
    }

    void onlyFieldCharactersAreTyped()
    {
        Window w;
        QCOMPARE(w.type(Notes, QStringLiteral("a\tb€") + QChar(0x0101)).text, QStringLiteral("ab€"));
        QCOMPARE(w.beeps, 2);
        Window s;
        QCOMPARE(s.type(Surname, QStringLiteral("a\nb")).text, QStringLiteral("AB"));
        QCOMPARE(s.txt[FatherSurname], QStringLiteral("AB"));
    }

    void notesAndParishTakeKeysAsTyped()
    {
        QCOMPARE(typed(Notes, "voir l'acte DE LA paroisse"), QStringLiteral("voir l'acte DE LA paroisse"));
        QCOMPARE(typed(1, "st jean"), QStringLiteral("st jean"));
    }

    void pageKeysGoToTheWindow()
    {
        QCOMPARE(keyDown(6, {}, 33).pageKey, 33);
        QCOMPARE(keyDown(30, {}, 34).pageKey, 34);
        QCOMPARE(keyDown(6, {}, 35).pageKey, 0);
    }
};

QTEST_GUILESS_MAIN(TestFieldRules)
#include "test_app_fieldrules.moc"
