// Keyboard rules of the detail window's boxes: letter case per mode, surnames,
// code boxes, place completion, and what may be pasted.
#include "detail/detaillogic.h"
#include "testutil.h"

#include <QtTest>

using namespace detail;

namespace {

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

class TestDetailKeys : public QObject {
    Q_OBJECT
private slots:
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
        QFETCH(int, mode);
        QFETCH(QList<int>, boxes);
        const bool surnameMode = mode >= 8 && mode <= 10;
        for (int i = 0; i < BoxCount; ++i) {
            if (!boxShown(mode, i) || isCodeBox(mode, i) || isPlaceBox(mode, i))
                continue;   // digits only / completion, checked below
            const QString typed = typeInto(mode, i, "aBc");
            const QString expected = surnameMode && i == 0 ? "ABC" : boxes.contains(i) ? "Abc" : "aBc";
            QVERIFY2(typed == expected, qPrintable(QString("box %1: %2").arg(i).arg(typed)));
        }
    }

    void letterCaseFollowsTheCharacterBeforeTheCaret()
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
    }

    void codeBoxesTakeDigitsOnly()
    {
        for (const auto &[mode, box] : QList<QPair<int, int>>{{1, 3}, {3, 13}, {4, 5}, {8, 4}, {10, 6}}) {
            QCOMPARE(typeInto(mode, box, "a2-b9 ."), QString("29"));
            QCOMPARE(press(mode, box, "2", 1, QChar(8)).kind, KeyOutcome::Insert);   // Backspace
        }
        QCOMPARE(typeInto(Contract, 3, "3e"), QString("3e"));
        QCOMPARE(typeInto(Dispensation, 0, "3e"), QString("3e"));
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

    void pasteAndTypedCharacters()
    {
        bool ok = false;
        const QString withNbsp = QString("Notre") + record::Nbsp + "Dame";
        QCOMPARE(cleanPaste(withNbsp, Parishes, 0, &ok), QString("Notre Dame"));   // a header value
        QCOMPARE(cleanPaste(withNbsp, Witnesses, 1, &ok), withNbsp);
        QVERIFY(ok);
        cleanPaste("1a", Witnesses, 4, &ok);
        QVERIFY(!ok);
        QVERIFY(typedCharAllowed(u'€', Witnesses));
        QVERIFY(!typedCharAllowed(record::Nbsp, TableProperties));
    }
};

QTEST_GUILESS_MAIN(TestDetailKeys)
#include "test_detail_keys.moc"
