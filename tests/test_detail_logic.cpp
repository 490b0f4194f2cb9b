// Loading and committing the detail modes, the witness encoding and the paging,
// the table header values, without any window.
#include "detail/detaillogic.h"
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
        QFETCH(int, n);
        QFETCH(QString, s);
        QFETCH(QStringList, expected);
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

    void spousePagingWritesEntryBoxesAtOnce()
    {
        for (int mode : {HusbandSpouses, WifeSpouses}) {
            const bool wife = mode == WifeSpouses;
            const int first = wife ? 8 : 3, second = wife ? 9 : 4, surname = wife ? 28 : 16;
            EntryState e = newEntry();
            e.txt[surname] = "ANCIEN";
            e.txt[surname + 1] = "Louis";
            e.groups[first] = "1799\tKervel\t29\t\t\tMarin\t";
            e.groups[second] = "SECOND\tYves\t1790\t\t\t\t\t\t";
            TableStore table;
            DetailValues v = loadMode(mode, e, table);
            QCOMPARE(std::tuple(v.title, v.boxes[0], v.boxes[7]), std::tuple(firstSpouseTitle(mode), QString("ANCIEN"), QString("Marin")));
            v.boxes[0] = "NOUVEAU";
            QVERIFY(pageNext(mode, v, e));          // the entry window must be refreshed now
            QCOMPARE(e.txt[surname], QString("NOUVEAU"));
            QCOMPARE(std::tuple(v.title, v.boxes[2], v.prevEnabled, v.nextEnabled), std::tuple(secondSpouseTitle(mode), QString("1790"), true, false));
            v.boxes[1] = "Yves Marie";
            QVERIFY(!pagePrevious(mode, v, e));
            QCOMPARE(v.boxes[1], QString("Louis"));
            // OK on the second page writes only the second spouse.
            pageNext(mode, v, e);
            v.boxes[8] = "veuf";
            QVERIFY(!commitMode(mode, v, e, table));
            QCOMPARE(e.groups[second], QString("SECOND\tYves Marie\t1790\t\t\t\t\t\tveuf"));
            QCOMPARE(e.groups[first], QString("1799\tKervel\t29\t\t\tMarin\t"));
        }
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
        commitMode(TableProperties, v, e, table);
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
        commitMode(Parishes, v, e, table);
        QCOMPARE(table.parishList, QString());

        table.sources = "1800 à 1850_AD : 3E1";
        QVERIFY(!applySourcesAnswer(table, "\t\n"));
        QCOMPARE(table.sources, QString("1800 à 1850_AD : 3E1"));
        QVERIFY(applySourcesAnswer(table, "1793 à 1892_ADO : 2E279\t@1893\r\n"));
        QCOMPARE(table.sources, QString("1793 à 1892_ADO : 2E279@1893"));
        QCOMPARE(detail::versionCaption("2.3"), QString("Version 2.3.0"));
        QCOMPARE(detail::versionCaption(QString()), QString("Version 0.0.0"));
    }
};

QTEST_GUILESS_MAIN(TestDetailLogic)
#include "test_detail_logic.moc"
