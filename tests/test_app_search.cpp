#include "app/parishentry.h"
#include "app/search.h"
#include "testutil.h"

#include <QTest>

using namespace testutil;

namespace {
TableStore tableOfHusbands(const QStringList &husbands, const QStringList &wives = {})
{
    QStringList lines{header()};
    for (int i = 0; i < husbands.size(); ++i)
        lines << recordLine({{"Nom EPX", husbands[i]}, {"Nom EPSE", i < wives.size() ? wives[i] : QString()}});
    TableStore t;
    t.setContent(lines);
    return t;
}
const QStringList Parishes{QStringLiteral("Saint-Martin"), QStringLiteral("Sainte-Anne"), QStringLiteral("Serres")};
} // namespace

class TestAppSearch : public QObject {
    Q_OBJECT
private slots:
    void searchOnTheHusbandsSurname()
    {
        search::SurnameIndex index;   // what the window searches with
        const TableStore t = tableOfHusbands({"MARTIN", "DURAND", "DUPONT", "de la FONTAINE"}, {"", "", "", "KERGOAT"});
        // Longer than the surname, case-sensitive, a wife's surname: nothing.
        for (const auto &[q, hit] : {std::pair{u"D", 2}, {u"DUP", 3}, {u"", 1}, {u"DUPONTEL", 0}, {u"m", 0}, {u"DE", 0},
                                     {u"de la", 4}, {u"KERGOAT", 0}})
            QCOMPARE(index.first(t, q), hit);
        // ">" and "<" from the record shown, stopping at the ends.
        QCOMPARE(index.next(t, u"DUP", 3), 0);
        QCOMPARE(index.previous(t, u"DU", 3), 2);
        QCOMPARE(index.previous(t, u"DU", 2), 0);
        QCOMPARE(index.next(t, u"", 1), 2);
        QCOMPARE(index.previous(t, u"", 5), 4);    // from the spare slot: the last record first
        // Short or empty lines never match.
        TableStore s;
        s.setContent({header(), QStringLiteral("a\tb\tc\td\te\tf\tNOM"), QString(), recordLine({{"Nom EPX", "NOM"}}),
                      recordLine({{"Nom EPX", "D?"}}), recordLine({{"Nom EPX", "ŒUVRE"}})});
        QCOMPARE(index.first(s, u""), 3);
        // A character without a Windows-1252 byte matches nothing, not a '?' of the table.
        for (const auto &[q, hit] : {std::pair{u"D\u4e2d", 0}, {u"D?", 4}, {u"Œ", 5}, {u"ŒUVRES", 0}})
            QCOMPARE(index.first(s, q), hit);
        QCOMPARE(index.first(TableStore(), u""), 0);
        // The search box after a key: typed over the selection, Backspace (8) and Delete (127) at the caret or on it.
        using Key = std::tuple<int, int, char16_t, const char *>;
        for (const auto &[caret, sel, key, after] : {Key{1, 2, u'X', "DXAND"}, Key{1, 2, 8, "DAND"}, Key{3, 0, 8, "DUAND"},
                 Key{0, 0, 8, "DURAND"}, Key{0, 0, 127, "URAND"}, Key{1, 2, 127, "DAND"}, Key{6, 0, 127, "DURAND"}})
            QCOMPARE(search::textAfterKey("DURAND", caret, sel, QChar(key)), QString::fromLatin1(after));
    }

    void indexFollowsEditsDeletionsAndAppends()
    {
        TableStore t = tableOfHusbands({"MARTIN", "DURAND", "DUPONT", "LE BRIS", "DUVAL"});
        search::SurnameIndex index;
        auto agree = [&](const char *step) {
            for (const QString q : {"", "D", "DU", "DUP", "M", "X", "MORVAN"})
                for (int from = 0; from <= t.upperIndex() + 1; ++from)
                    for (int dir : {-1, +1})
                        if (index.find(t, q, from, dir) != t.findField(search::SurnameField, q, from, dir, true))   // the lines read one by one
                            QFAIL(qPrintable(QStringLiteral("%1: q=%2 from=%3 dir=%4").arg(step, q).arg(from).arg(dir)));
        };
        agree("fresh");
        t.setLine(2, recordLine({{"Nom EPX", "MORVAN"}}));
        agree("edited");
        t.deleteRecord(1);
        agree("first deleted");
        t.grow();
        t.setLine(t.upperIndex() - 1, recordLine({{"Nom EPX", "DUPUIS"}}));
        agree("appended");
        t.setLine(1, QStringLiteral("no tabs at all"));
        agree("broken line");
        for (int i = 0; i < 3000; ++i) {   // enough rewrites to rebuild the buffer
            t.setLine(1 + i % t.recordCount(), recordLine({{"Nom EPX", QStringLiteral("DU%1").arg(i)}}));
            QCOMPARE(index.first(t, QStringLiteral("DU%1").arg(i)), 1 + i % t.recordCount());
        }
        agree("rewritten");
        const TableStore before = t;   // a copy followed, then the table again
        t.setLine(2, recordLine({{"Nom EPX", "ZOLA"}}));
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(index.first(t, u"ZOLA"), 2);
            QCOMPARE(index.first(before, u"ZOLA"), 0);
        }
        t.setContent({header(), recordLine({{"Nom EPX", "XAVIER"}})});
        agree("another table");
    }

    void parishCompletionInListOrder()
    {
        // The walk through the list is the entry window's test; here the edges.
        // "Sainte" is reached letter by letter, the case following the hyphen rule.
        QCOMPARE(parish::key("Saint-Martin", 5, 7, u'E', Parishes).text, QStringLiteral("Sainte-Anne"));
        QCOMPARE(parish::key("Saint-Martin", 6, 6, u'm', Parishes).selectionLength, 5);
        QCOMPARE(parish::key("", 0, 0, u's', {}).kind, parish::KeyResult::Refused);   // an empty list
        QCOMPARE(parish::key("Serres", 6, 0, QChar(13), Parishes).kind, parish::KeyResult::NextField);
        QCOMPARE(parish::key("Serres", 6, 0, QChar(8), Parishes).kind, parish::KeyResult::Pass);
        // The elided "d" before an apostrophe, then completion with it.
        const auto r = parish::key("Notre-Dame D", 12, 0, u'\'', {QStringLiteral("Notre-Dame d'Ys")});
        QCOMPARE(r.text, QStringLiteral("Notre-Dame d'Ys"));
        QCOMPARE(r.caret, 13);
    }
};

QTEST_GUILESS_MAIN(TestAppSearch)
#include "test_app_search.moc"
