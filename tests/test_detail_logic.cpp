// The detail window's rules without a window: loading and committing, witnesses, paging,
// the table's header values, and the keys of the boxes (letter case, codes, completion, paste).
#include "detail/detaillogic.h"
#include "detail/detailwindow.h"
#include "testutil.h"

#include <QtTest>

using namespace detail;

namespace {
const QChar NB = record::Nbsp;
EntryState newEntry()
{
    EntryState e;
    transfer::showNewRecord(e);
    return e;
}
KeyOutcome press(int mode, int index, const QString &text, int caret, QChar key, const TableStore &table = TableStore())
{
    return keyPress(KeyInput{mode, index, text, caret, key}, table);
}
// Types `keys` one by one at the end of an empty box, as the window would.
QString typeInto(int mode, int index, const QString &keys)
{
    QString text;
    for (QChar k : keys) {
        const KeyOutcome o = press(mode, index, text, int(text.size()), k);
        if (o.kind == KeyOutcome::Insert)
            text += o.key;
    }
    return text;
}
} // namespace

class TestDetailLogic : public QObject {
    Q_OBJECT
private slots:
    void fillDetailBoxes_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QStringList>("expected");   // boxes 0.. (the rest empty)
        QTest::newRow("exact") << 2 << QString("a\tb\tc") << QStringList{"a", "b", "c"};
        QTest::newRow("rest keeps its TABs") << 1 << QString("a\tb\tc") << QStringList{"a", "b\tc"};
        QTest::newRow("empty string") << 5 << QString() << QStringList{};
        QTest::newRow("fewer TABs") << 5 << QString("x\ty") << QStringList{"x", "y"};
        QTest::newRow("n zero") << 0 << QString("a\tb") << QStringList{"a\tb"};
    }
    void fillDetailBoxes()
    {
        QFETCH(int, n); QFETCH(QString, s); QFETCH(QStringList, expected);
        const Boxes b = detail::fillDetailBoxes(n, s);
        QCOMPARE(QStringList(b.begin(), b.end()), expected + QStringList(BoxCount - expected.size(), QString()));
    }
    // Defaults of a new witness; what the options store; the remarks take the whole rest.
    void witnessEncoding()
    {
        TableStore table;
        EntryState blank;   // a group truly empty: no option selected, the same defaults on OK
        for (EntryState e : {newEntry(), blank}) {
            DetailValues v = loadMode(Witnesses, e, table);
            QCOMPARE(std::tuple(v.title, v.prevEnabled, v.nextEnabled), std::tuple(QString("Témoin 1"), false, true));
            const Choice shown = e.groups[10].isEmpty() ? Choice::None : Choice::Second;
            QCOMPARE(std::pair(v.sex, v.with), std::pair(shown, shown));
            commitMode(Witnesses, v, e, table);
            QCOMPARE(e.groups[10], QString("\t\tF\t\t\t\t\t\t\t\t2\t"));
        }
        DetailValues v;
        loadWitness("LE BIHAN\tAnne\tX\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t7\trq 1\trq 2", v);
        QCOMPARE(std::tuple(v.boxes[0], v.boxes[8], v.boxes[9]), std::tuple(QString("LE BIHAN"), QString("sœur"), QString("rq 1\trq 2")));
        QCOMPARE(std::pair(v.sex, v.with), std::pair(Choice::Second, Choice::Second));   // anything but "M", "1"
        v.sex = v.with = Choice::First;
        QCOMPARE(witnessGroup(v), QString("LE BIHAN\tAnne\tM\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t1\trq 1\trq 2"));
        QCOMPARE(std::pair(witnessNumber("Témoin 3"), witnessNumber(QString())), std::pair(3, 1));
    }
    void witnessPaging()
    {
        EntryState e = newEntry();
        e.groups[11] = "DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t";
        TableStore table;
        DetailValues v = loadMode(Witnesses, e, table);
        const auto page = [&] { return std::tuple(v.title, v.prevEnabled, v.nextEnabled, v.boxes[0]); };
        v.boxes[0] = "UN";
        v.sex = Choice::First;
        pageNext(Witnesses, v, e);
        QCOMPARE(page(), std::tuple(QString("Témoin 2"), true, true, QString("DEUX")));
        QCOMPARE(e.groups[10], QString("UN\t\tM\t\t\t\t\t\t\t\t2\t"));
        pageNext(Witnesses, v, e);
        QCOMPARE(v.boxes[0], QString());        // group 12 holds its TABs: loaded empty
        v.boxes[0] = "TROIS";
        pageNext(Witnesses, v, e);
        pageNext(Witnesses, v, e);               // disabled: nothing moves
        QCOMPARE(page(), std::tuple(QString("Témoin 4"), true, false, QString()));
        v.boxes[0] = "QUATRE";
        pagePrevious(Witnesses, v, e);
        QVERIFY(e.groups[13].startsWith("QUATRE\t"));
        QCOMPARE(v.boxes[0], QString("TROIS"));
        pagePrevious(Witnesses, v, e);
        pagePrevious(Witnesses, v, e);
        QCOMPARE(page(), std::tuple(QString("Témoin 1"), false, true, QString("UN")));
        QCOMPARE(e.groups[11], QString("DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t"));
        QVERIFY(e.groups[12].startsWith("TROIS\t"));
    }
    // The edges of the header values (the window test takes the common paths).
    void headerValues()
    {
        TableStore table;
        EntryState e;
        const QStringList six{"a", "b", "c", "d", "e", "f"};   // more separators: box 5 keeps the rest whole
        table.people = six.join(NB);
        DetailValues v = loadMode(TableProperties, e, table);
        QCOMPARE(v.boxes[5], QString("e") + NB + "f");
        QVERIFY(!commitMode(TableProperties, v, e, table));   // nothing of the entry window to refresh
        QCOMPARE(table.people, six.join(NB));
        table.setParishNames({"Église"});
        v = loadMode(Parishes, e, table);
        v.boxes[0] = "ÉGLISE";
        QCOMPARE(addParish(v), AddResult::Duplicate);   // accented capitals compare too
        v.boxes[0] = "Notre-Dame";
        QCOMPARE(addParish(v), AddResult::Added);
        commitMode(Parishes, v, e, table);
        QCOMPARE(table.parishList, QString("Église") + NB + "Notre-Dame");
        v.parishes.clear();
        QVERIFY(!commitMode(Parishes, v, e, table));
        QCOMPARE(table.parishList, QString());
        table.sources = "1800 à 1850_AD : 3E1";
        QVERIFY(!applySourcesAnswer(table, "\t\n"));
        QCOMPARE(table.sources, QString("1800 à 1850_AD : 3E1"));
        QVERIFY(applySourcesAnswer(table, "1793 à 1892_ADO : 2E279\t@1893\r\n"));
        QCOMPARE(table.sources, QString("1793 à 1892_ADO : 2E279@1893"));
        QCOMPARE(detail::versionCaption("2.3"), QString("Version 2.3.0"));
        QCOMPARE(detail::versionCaption(QString()), QString("Version 0.0.0"));
        QList<int> opened;   // by the entry window's buttons CmdRq(-1..7), CmdCM captioned "CM" or not
        for (int i = -1; i <= 7; ++i)
            opened << modeForCmdRq(i);
        QCOMPARE(opened << modeForCmdCM("CM") << modeForCmdCM("MA"), (QList<int>{0, 11, 1, 4, 9, 2, 3, 10, 0, 5, 7}));
    }
    void letterCaseBoxesPerMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("boxes");   // boxes that take the letter case
        for (int mode : {1, 2, 12})
            QTest::addRow("%d", mode) << mode << QList<int>{0, 1, 2, 3, 4};
        for (int mode : {3, 4})
            QTest::addRow("%d", mode) << mode << QList<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("5") << 5 << QList<int>{0, 1, 2};
        QTest::newRow("6") << 6 << QList<int>{};
        QTest::newRow("7") << 7 << QList<int>{0, 1};
        QTest::newRow("8") << 8 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        for (int mode : {9, 10})
            QTest::addRow("%d", mode) << mode << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("11") << 11 << QList<int>{0};
    }
    void letterCaseBoxesPerMode()
    {
        QFETCH(int, mode); QFETCH(QList<int>, boxes);
        const bool surnameMode = mode >= 8 && mode <= 10;
        for (int i = 0; i < BoxCount; ++i) {
            if (!boxShown(mode, i) || isCodeBox(mode, i) || isPlaceBox(mode, i))
                continue;   // digits only / completion, checked below
            const QString typed = typeInto(mode, i, "aBc");
            const QString expected = surnameMode && i == 0 ? "ABC" : boxes.contains(i) ? "Abc" : "aBc";
            QVERIFY2(typed == expected, qPrintable(QString("box %1: %2").arg(i).arg(typed)));
        }
    }
    // Letter case follows the character before the caret; code boxes; what may be pasted or typed.
    void keysOfTheBoxes()
    {
        QCOMPARE(typeInto(Witnesses, 5, "SAINT-JEAN"), QString("Saint-Jean"));
        QCOMPARE(typeInto(HusbandDetails, 4, "l'abbé (x/y) é"), QString("L'Abbé (X/Y) É"));
        QCOMPARE(typeInto(HusbandDetails, 1, "œUVRE"), QString("Œuvre"));
        QCOMPARE(press(HusbandDetails, 1, "ab", 0, u'c').key, QChar(u'C'));
        QCOMPARE(press(HusbandDetails, 1, "a b", 1, u'C').key, QChar(u'c'));
        // Surnames of persons are capitals; box 0 elsewhere follows the letter case.
        QCOMPARE(typeInto(Witnesses, 0, "le goff-éon"), QString("LE GOFF-ÉON"));
        QCOMPARE(typeInto(WifeSpouses, 0, "ménez"), QString("MÉNEZ"));
        QCOMPARE(typeInto(HusbandDetails, 0, "ménez"), QString("Ménez"));
        QCOMPARE(press(Witnesses, 3, "x", 1, QChar(13)).kind, KeyOutcome::NextBox);
        QCOMPARE(press(WifeParents, 15, "", 0, QChar(27)).kind, KeyOutcome::Commit);
        // Code boxes take digits only; the contract's and the dispensation's first boxes anything.
        for (const auto &[mode, box] : QList<QPair<int, int>>{{1, 3}, {3, 13}, {4, 5}, {8, 4}, {10, 6}}) {
            QCOMPARE(typeInto(mode, box, "a2-b9 ."), QString("29"));
            QCOMPARE(press(mode, box, "2", 1, QChar(8)).kind, KeyOutcome::Insert);   // Backspace
        }
        QCOMPARE(typeInto(Contract, 3, "3e"), QString("3e"));
        QCOMPARE(typeInto(Dispensation, 0, "3e"), QString("3e"));
        bool ok = false;   // what may be pasted or typed
        const QString withNbsp = QString("Notre") + record::Nbsp + "Dame";
        QCOMPARE(cleanPaste(withNbsp, Parishes, 0, &ok), QString("Notre Dame"));   // a header value
        QCOMPARE(cleanPaste(withNbsp, Witnesses, 1, &ok), withNbsp);
        QVERIFY(ok);
        cleanPaste("1a", Witnesses, 4, &ok);
        QVERIFY(!ok);
        QVERIFY(typedCharAllowed(u'€', Witnesses));
        QVERIFY(!typedCharAllowed(record::Nbsp, TableProperties));
    }
    // The other paths than the window test's "PAR" typed into a residence box.
    void placeCompletion()
    {
        TableStore t;
        QStringList lines{testutil::header()};
        for (const char *o : {"Lannevez", "Paris", "Parigné", "Plouzac"})
            lines << testutil::recordLine({{"Org EPX", QString::fromUtf8(o)}});
        t.setContent(lines << QString());   // and the spare slot
        // The next key replaces the selection: "Parig" finds the later record.
        KeyOutcome o = press(Witnesses, 5, "Paris", 4, u'g', t);
        QCOMPARE(std::tuple(o.kind, o.text, o.selStart, o.selLength), std::tuple(KeyOutcome::Complete, QString("Parigné"), 5, 2));
        o = press(Witnesses, 5, "Pa", 2, u'x', t);      // no match: the key goes on
        QCOMPARE(std::pair(o.kind, o.key), std::pair(KeyOutcome::Insert, QChar(u'x')));
        // Place boxes of other modes; other boxes never complete, nor does an empty table.
        for (const auto &[mode, box] : QList<QPair<int, int>>{{1, 2}, {3, 4}, {4, 12}, {10, 5}})
            QCOMPARE(press(mode, box, "", 0, u'l', t).text, QString("Lannevez"));
        QCOMPARE(press(HusbandDetails, 4, "", 0, u'l', t).kind, KeyOutcome::Insert);
        QCOMPARE(press(Witnesses, 0, "", 0, u'l', t).kind, KeyOutcome::Insert);
        QCOMPARE(press(Witnesses, 3, "", 0, u'l', TableStore()).kind, KeyOutcome::Insert);
    }
};

QTEST_GUILESS_MAIN(TestDetailLogic)
#include "test_detail_logic.moc"
