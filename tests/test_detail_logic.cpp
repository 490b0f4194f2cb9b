// Loading and committing the detail modes, the witness encoding and the paging,
// the table header values, without any window.
#include "detail/detaillogic.h"
#include "testutil.h"

#include <QtTest>

using namespace detail;

namespace {

const QChar T = u'\t';
const QChar NB = record::Nbsp;

// An entry state holding the groups of a record where every field has its own text.
EntryState fullEntry()
{
    EntryState e;
    transfer::showLine(testutil::fullRecordLine(7), e);
    return e;
}

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
    void fillDetailBoxes_data();
    void fillDetailBoxes();
    void okWithoutTypingKeepsEveryGroup_data();
    void okWithoutTypingKeepsEveryGroup();
    void parentsAreJoinedAndSplit();
    void newWitnessGetsDefaultsOnOk();
    void witnessEncoding();
    void witnessPaging();
    void witnessPagingOntoEmptyGroupCopiesValues();
    void spousePagingWritesEntryBoxesAtOnce();
    void peopleField();
    void parishList();
    void sourcesAnswer();
    void versionCaption();
};

void TestDetailLogic::fillDetailBoxes_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("s");
    QTest::addColumn<QStringList>("expected");   // boxes 0.. (the rest empty)
    QTest::newRow("exact") << 2 << QString("a\tb\tc") << QStringList{"a", "b", "c"};
    QTest::newRow("rest keeps its TABs") << 1 << QString("a\tb\tc") << QStringList{"a", "b\tc"};
    QTest::newRow("empty items") << 3 << QString("\t\t\t") << QStringList{"", "", "", ""};
    QTest::newRow("empty string") << 5 << QString() << QStringList{};
    QTest::newRow("fewer TABs") << 5 << QString("x\ty") << QStringList{"x", "y"};
    QTest::newRow("no TAB") << 8 << QString("seul") << QStringList{"seul"};
    QTest::newRow("n zero") << 0 << QString("a\tb") << QStringList{"a\tb"};
}

void TestDetailLogic::fillDetailBoxes()
{
    QFETCH(int, n);
    QFETCH(QString, s);
    QFETCH(QStringList, expected);
    const Boxes b = detail::fillDetailBoxes(n, s);
    for (int i = 0; i < BoxCount; ++i)
        QCOMPARE(b[i], i < expected.size() ? expected[i] : QString());
}

void TestDetailLogic::okWithoutTypingKeepsEveryGroup_data()
{
    QTest::addColumn<int>("mode");
    for (int m = 1; m <= 10; ++m)
        QTest::addRow("mode %d", m) << m;
}

void TestDetailLogic::okWithoutTypingKeepsEveryGroup()
{
    QFETCH(int, mode);
    // Witness items 3 and 11 hold "M"/"F" and "1"/"2" in stored records.
    EntryState e = fullEntry();
    e.groups[10] = "NOM\tJean\tM\t30\tOrg\t12\tRés\t34\tProf\tcousin\t1\trq";
    const EntryState before = e;
    TableStore table;
    DetailValues v = loadMode(mode, e, table);
    commitMode(mode, v, e, table);
    for (int g = 0; g < record::GroupSlots; ++g)
        QCOMPARE(e.groups[g], before.groups[g]);
    QCOMPARE(e.txt, before.txt);
}

void TestDetailLogic::parentsAreJoinedAndSplit()
{
    EntryState e = fullEntry();
    const QString father = e.groups[6], mother = e.groups[7];
    TableStore table;
    DetailValues v = loadMode(WifeParents, e, table);
    // While open, the first group of the pair holds both.
    QCOMPARE(e.groups[6], father + T + mother);
    QCOMPARE(v.boxes[0], record::fieldOf(testutil::fullRecordLine(7), record::groupFirstField(6)));
    QCOMPARE(v.boxes[15], record::fieldOf(testutil::fullRecordLine(7), record::groupFirstField(7) + 7));
    v.boxes[7] = "remarque du père";
    v.boxes[8] = "1750";
    commitMode(WifeParents, v, e, table);
    QCOMPARE(e.groups[6].count(T), 7);
    QCOMPARE(e.groups[7].count(T), 7);
    QVERIFY(e.groups[6].endsWith("\tremarque du père"));
    QVERIFY(e.groups[7].startsWith("1750\t"));

    // Mode 4, a new record: the husband's parents stay seven TABs each.
    EntryState n = newEntry();
    DetailValues w = loadMode(HusbandParents, n, table);
    commitMode(HusbandParents, w, n, table);
    QCOMPARE(n.groups[1], record::emptyGroup(1));
    QCOMPARE(n.groups[2], record::emptyGroup(2));
}

void TestDetailLogic::newWitnessGetsDefaultsOnOk()
{
    EntryState e = newEntry();
    QCOMPARE(e.groups[10], QString(11, T));
    TableStore table;
    DetailValues v = loadMode(Witnesses, e, table);
    QCOMPARE(v.title, QString("Témoin 1"));
    QVERIFY(!v.prevEnabled);
    QVERIFY(v.nextEnabled);
    QCOMPARE(v.sex, Choice::Second);
    QCOMPARE(v.with, Choice::Second);
    commitMode(Witnesses, v, e, table);
    QCOMPARE(e.groups[10], QString("\t\tF\t\t\t\t\t\t\t\t2\t"));

    // A group that is truly empty leaves the options unselected.
    EntryState blank;
    DetailValues b = loadMode(Witnesses, blank, table);
    QCOMPARE(b.sex, Choice::None);
    QCOMPARE(b.with, Choice::None);
    commitMode(Witnesses, b, blank, table);
    QCOMPARE(blank.groups[10], QString("\t\tF\t\t\t\t\t\t\t\t2\t"));
}

void TestDetailLogic::witnessEncoding()
{
    DetailValues v;
    loadWitness("LE BIHAN\tAnne\tX\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t7\trq 1\trq 2", v);
    QCOMPARE(v.boxes[0], QString("LE BIHAN"));
    QCOMPARE(v.sex, Choice::Second);        // anything but "M"
    QCOMPARE(v.boxes[2], QString("22"));
    QCOMPARE(v.boxes[8], QString("sœur"));
    QCOMPARE(v.with, Choice::Second);       // anything but "1"
    QCOMPARE(v.boxes[9], QString("rq 1\trq 2"));   // the whole rest
    v.sex = Choice::First;
    v.with = Choice::First;
    QCOMPARE(witnessGroup(v), QString("LE BIHAN\tAnne\tM\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t1\trq 1\trq 2"));
    QCOMPARE(witnessNumber("Témoin 3"), 3);
    QCOMPARE(witnessNumber(QString()), 1);
}

void TestDetailLogic::witnessPaging()
{
    EntryState e = newEntry();
    e.groups[11] = "DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t";
    TableStore table;
    DetailValues v = loadMode(Witnesses, e, table);
    v.boxes[0] = "UN";
    v.sex = Choice::First;

    pageNext(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 2"));
    QVERIFY(v.prevEnabled && v.nextEnabled);
    QCOMPARE(e.groups[10], QString("UN\t\tM\t\t\t\t\t\t\t\t2\t"));
    QCOMPARE(v.boxes[0], QString("DEUX"));

    pageNext(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 3"));
    QCOMPARE(v.boxes[0], QString());        // group 12 holds its TABs: loaded empty
    v.boxes[0] = "TROIS";
    pageNext(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 4"));
    QVERIFY(!v.nextEnabled);
    QVERIFY(e.groups[12].startsWith("TROIS\t"));
    pageNext(Witnesses, v, e);               // disabled: nothing moves
    QCOMPARE(v.title, QString("Témoin 4"));

    v.boxes[0] = "QUATRE";
    pagePrevious(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 3"));
    QVERIFY(e.groups[13].startsWith("QUATRE\t"));
    QCOMPARE(v.boxes[0], QString("TROIS"));
    pagePrevious(Witnesses, v, e);
    pagePrevious(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 1"));
    QVERIFY(!v.prevEnabled && v.nextEnabled);
    QCOMPARE(v.boxes[0], QString("UN"));
    QCOMPARE(e.groups[11], QString("DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t"));
}

void TestDetailLogic::witnessPagingOntoEmptyGroupCopiesValues()
{
    EntryState e = newEntry();
    e.groups[11].clear();
    TableStore table;
    DetailValues v = loadMode(Witnesses, e, table);
    v.boxes[0] = "GUÉGUEN";
    v.boxes[1] = "Marc";
    v.sex = Choice::First;
    pageNext(Witnesses, v, e);
    QCOMPARE(v.title, QString("Témoin 2"));
    QCOMPARE(v.boxes[0], QString("GUÉGUEN"));
    commitMode(Witnesses, v, e, table);
    QCOMPARE(e.groups[11], e.groups[10]);
    QCOMPARE(e.groups[11], QString("GUÉGUEN\tMarc\tM\t\t\t\t\t\t\t\t2\t"));
}

void TestDetailLogic::spousePagingWritesEntryBoxesAtOnce()
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
        QCOMPARE(v.title, firstSpouseTitle(mode));
        QCOMPARE(v.boxes[0], QString("ANCIEN"));
        QCOMPARE(v.boxes[2], QString("1799"));
        QCOMPARE(v.boxes[7], QString("Marin"));
        QVERIFY(!v.prevEnabled && v.nextEnabled);

        v.boxes[0] = "NOUVEAU";
        QVERIFY(pageNext(mode, v, e));          // the entry window must be refreshed now
        QCOMPARE(e.txt[surname], QString("NOUVEAU"));
        QCOMPARE(v.title, secondSpouseTitle(mode));
        QCOMPARE(v.boxes[0], QString("SECOND"));
        QCOMPARE(v.boxes[2], QString("1790"));
        QVERIFY(v.prevEnabled && !v.nextEnabled);

        v.boxes[1] = "Yves Marie";
        QVERIFY(!pagePrevious(mode, v, e));
        QCOMPARE(e.groups[second], QString("SECOND\tYves Marie\t1790\t\t\t\t\t\t"));
        QCOMPARE(v.boxes[0], QString("NOUVEAU"));
        QCOMPARE(v.boxes[1], QString("Louis"));
        QCOMPARE(v.boxes[7], QString("Marin"));

        // OK on the second page writes only the second spouse.
        pageNext(mode, v, e);
        v.boxes[8] = "veuf";
        QVERIFY(!commitMode(mode, v, e, table));
        QCOMPARE(e.groups[second], QString("SECOND\tYves Marie\t1790\t\t\t\t\t\tveuf"));
        QCOMPARE(e.groups[first], QString("1799\tKervel\t29\t\t\tMarin\t"));
    }
}

void TestDetailLogic::peopleField()
{
    TableStore table;
    table.commune = "Valbrune";
    table.people = QString(4, NB);
    EntryState e;
    DetailValues v = loadMode(TableProperties, e, table);
    QCOMPARE(v.boxes[0], QString("Valbrune"));
    for (int i = 1; i <= 5; ++i)
        QVERIFY(v.boxes[i].isEmpty());
    commitMode(TableProperties, v, e, table);
    QCOMPARE(table.people, QString(4, NB));

    // Fewer separators than four: later boxes empty, OK writes all four.
    table.people = QString("Ana") + NB + "2024";
    v = loadMode(TableProperties, e, table);
    QCOMPARE(v.boxes[1], QString("Ana"));
    QCOMPARE(v.boxes[2], QString("2024"));
    QVERIFY(v.boxes[3].isEmpty() && v.boxes[5].isEmpty());
    v.boxes[5] = "Étude";
    commitMode(TableProperties, v, e, table);
    QCOMPARE(table.people, QString("Ana") + NB + "2024" + NB + NB + NB + "Étude");

    // More separators: box 5 keeps the rest whole.
    const QStringList six{"a", "b", "c", "d", "e", "f"};
    table.people = six.join(NB);
    v = loadMode(TableProperties, e, table);
    QCOMPARE(v.boxes[5], QString("e") + NB + "f");
    commitMode(TableProperties, v, e, table);
    QCOMPARE(table.people, six.join(NB));
}

void TestDetailLogic::parishList()
{
    TableStore table;
    table.setParishNames({"SAINT MARTIN", "Notre-Dame"});
    EntryState e;
    DetailValues v = loadMode(Parishes, e, table);
    QCOMPARE(v.parishes, (QStringList{"SAINT MARTIN", "Notre-Dame"}));

    v.boxes[0] = "Saint Martin";
    QCOMPARE(addParish(v), AddResult::Duplicate);
    QCOMPARE(v.parishes.size(), 2);
    QCOMPARE(v.boxes[0], QString("Saint Martin"));
    v.boxes[0] = "Saint-Martin";
    QCOMPARE(addParish(v), AddResult::Added);
    QVERIFY(v.boxes[0].isEmpty());
    QCOMPARE(addParish(v), AddResult::Empty);
    v.boxes[0] = "notre-dame";
    QCOMPARE(addParish(v), AddResult::Duplicate);
    v.boxes[0] = "Église";
    v.parishes << "ÉGLISE";
    QCOMPARE(addParish(v), AddResult::Duplicate);   // accented capitals compare too
    v.parishes.removeLast();
    v.boxes[0].clear();

    v.parishSelected = -1;
    QVERIFY(!removeParish(v));                      // nothing selected: nothing removed
    QCOMPARE(v.parishes.size(), 3);
    v.parishSelected = 0;
    QVERIFY(removeParish(v));
    QCOMPARE(v.parishes, (QStringList{"Notre-Dame", "Saint-Martin"}));
    commitMode(Parishes, v, e, table);
    QCOMPARE(table.parishList, QString("Notre-Dame") + NB + "Saint-Martin");

    v.parishes.clear();
    commitMode(Parishes, v, e, table);
    QCOMPARE(table.parishList, QString());
}

void TestDetailLogic::sourcesAnswer()
{
    TableStore table;
    table.sources = "1800 à 1850_AD : 3E1";
    QVERIFY(!applySourcesAnswer(table, QString()));
    QCOMPARE(table.sources, QString("1800 à 1850_AD : 3E1"));
    QVERIFY(applySourcesAnswer(table, "1793 à 1892_ADO : 2E279\t@1893\r\n"));
    QCOMPARE(table.sources, QString("1793 à 1892_ADO : 2E279@1893"));
    QVERIFY(!applySourcesAnswer(table, "\t\n"));
    QCOMPARE(table.sources, QString("1793 à 1892_ADO : 2E279@1893"));
    QVERIFY(SourcesMessage.contains("\n\n1793 à 1892\tADO : 2E279, 4E280\n1893 à 1899\tMairie : 4E280\n\n"));
}

void TestDetailLogic::versionCaption()
{
    QCOMPARE(detail::versionCaption("1.1.2"), QString("Version 1.1.2"));
    QCOMPARE(detail::versionCaption("2.3"), QString("Version 2.3.0"));
    QCOMPARE(detail::versionCaption(QString()), QString("Version 0.0.0"));
}

QTEST_GUILESS_MAIN(TestDetailLogic)
#include "test_detail_logic.moc"
