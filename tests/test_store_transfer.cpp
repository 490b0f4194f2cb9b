#include "store/transfer.h"
#include "testutil.h"

#include <QTest>

using namespace testutil;
using transfer::Result;

namespace {
TableStore tableOf(const QStringList &records)
{
    TableStore t;
    t.setContent(QStringList{header()} + records);
    return t;
}
} // namespace

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void everyFieldRoundTrips()
    {
        QString line = fullRecordLine(7) + QStringLiteral("\tafter a tab in the notes");
        TableStore t = tableOf({line, fullRecordLine(8)});
        EntryState s;
        s.recordNumber = "1";
        QCOMPARE(transfer::show(t, s, transfer::First), Result::Ok);
        QCOMPARE(s.actLabel, QStringLiteral("Contrat de Mariage"));
        QVERIFY(s.dispense);
        QCOMPARE(s.txt[30], QStringLiteral("v7é161\tafter a tab in the notes"));
        QCOMPARE(s.parish, QStringLiteral("v7é2"));
        // Where each field is shown follows the field catalogue (checked whole by the store test).
        QCOMPARE(s.txt[13] + '|' + s.groups[0] + '|' + s.groups[16],
                 QStringLiteral("v7é28|v7é11\tv7é12\tv7é13\tv7é14\tv7é15\tv7é16|v7é160"));
        QCOMPARE(s.previous, (std::array<QString, 9>{}));
        QCOMPARE(transfer::store(t, s, transfer::StoreOnly), Result::Ok);
        QCOMPARE(t.line(1), line);
        QCOMPARE(t.upperIndex(), 3);
        // On record 2 the panel shows record 1: the date, then each person's fields.
        QCOMPARE(transfer::store(t, s, transfer::Next), Result::Ok);
        const auto f = [](int a, int b = 0) {
            return b ? QStringLiteral("v7é%1").arg(a) + record::Nbsp + QStringLiteral("v7é%1").arg(b)
                     : QStringLiteral("v7é%1").arg(a);
        };
        QCOMPARE(s.previous, (std::array<QString, 9>{"03/05/1815", f(7, 8), f(9), f(17, 18), f(28, 29), f(57, 58),
                                                     f(59), f(67, 68), f(78, 79)}));
        QCOMPARE(s.previousNumber, QStringLiteral("1"));
    }
    void newRecordWithoutSurnameIsNotStored()
    {
        TableStore t = tableOf({recordLine({{"Lieu", "Kerlouan"}, {"Paroisse", "Notre-Dame"}, {"Nom EPX", "A"}})});
        EntryState s;
        s.recordNumber = "1";
        transfer::show(t, s, transfer::End);
        QCOMPARE(QStringList({s.recordNumber, s.txt[0], s.parish, s.actLabel}),
                 (QStringList{"2", "Kerlouan", "Notre-Dame", "Mariage"}));
        QCOMPARE(s.groups[10].count(u'\t'), 11);
        s.txt[7] = "Jean";
        transfer::store(t, s, transfer::Next);
        QCOMPARE(t.upperIndex(), 2);
        QCOMPARE(s.txt[7], QString());
        s.txt[18] = "BRIAND";
        s.txt[3] = "5";
        transfer::store(t, s, transfer::Next);
        QCOMPARE(t.upperIndex(), 3);
        QCOMPARE(s.count + s.recordNumber + s.previousNumber, QStringLiteral("332"));
        QCOMPARE(t.line(2), recordLine({{"Lieu", "Kerlouan"}, {"Paroisse", "Notre-Dame"}, {"Date", ".5/../...."}, {"Nom EPSE", "BRIAND"}}));
        QCOMPARE(s.previous[5], QStringLiteral("BRIAND") + record::Nbsp);
    }
    void dateLayoutFollowsTheCalendar()
    {
        TableStore t = tableOf({recordLine({{"Nom EPX", "A"}, {"Date", "15/brum/04"}}),
                                recordLine({{"Nom EPX", "B"}, {"Date", "03/05/1815"}})});
        EntryState s;
        s.recordNumber = "1";
        transfer::show(t, s, transfer::First);
        QCOMPARE(std::tuple(s.date.monthWidth, s.date.monthMaxLength, s.date.yearMaxLength, s.txt[4]),
                 std::tuple(470, 4, 2, QStringLiteral("brum")));
        transfer::store(t, s, transfer::Next);
        QCOMPARE(record::fieldOf(t.line(1), 5), QStringLiteral("15/brum/04"));
        QCOMPARE(std::tuple(s.date.monthWidth, s.date.yearWidth, s.date.yearLeft, s.date.slashLeft),
                 std::tuple(300, 470, 4950 + 300 + 120, 4950 + 300 + 120 - 105));
        s.txt[3].clear(), s.txt[4] = QStringLiteral("5"), s.txt[5].clear();   // a month alone is a date
        transfer::store(t, s, transfer::Previous);
        QCOMPARE(record::fieldOf(t.line(2), 5), QStringLiteral("../.5/...."));
    }
    void navigationBounds()
    {
        TableStore t = tableOf({recordLine({{"Nom EPX", "A"}}), recordLine({{"Nom EPX", "B"}})});
        EntryState s;
        s.recordNumber = "1";
        transfer::store(t, s, transfer::Previous);
        QCOMPARE(s.recordNumber + s.previousNumber, QStringLiteral("1"));
        transfer::store(t, s, transfer::Typed, 2);
        QCOMPARE(s.txt[6] + s.previousNumber, QStringLiteral("B")); // modes 5 and 6 leave the panel alone
        transfer::store(t, s, transfer::Next);
        transfer::store(t, s, transfer::Next);
        QCOMPARE(s.recordNumber, QStringLiteral("3"));
        // An empty table: the place from the commune.
        t = tableOf({});
        s = EntryState{};
        transfer::show(t, s, transfer::End);
        QCOMPARE(s.recordNumber + s.txt[0] + s.parish, QStringLiteral("1Valbrune"));
        // Lines that cannot be shown.
        t = tableOf({QStringLiteral("too\tfew"), recordLine({{"Date", "1815"}})});
        s.recordNumber = "1";
        QCOMPARE(transfer::show(t, s, transfer::First), Result::Incompatible);
        QCOMPARE(transfer::show(t, s, transfer::Typed, 2), Result::Incompatible);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "test_store_transfer.moc"
