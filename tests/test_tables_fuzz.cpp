// A short, repeatable run of the import's fuzz checks: random bytes and damaged
// copies of the three kinds of input (comma export, TAB list, table).
#include "tables/fuzz/fuzz_tables_entry.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Valid inputs of the three kinds: a comma export, a TAB list, a table.
QList<QByteArray> seeds()
{
    QStringList comma, tab, table;
    for (int i = 0; i < 217; ++i)
        comma << (i == 3 ? QStringLiteral("15/brum/04") : QStringLiteral("val%1").arg(i));
    for (int i = 1; i <= 19; ++i)
        tab << QStringLiteral("Col%1 (+)").arg(i);
    for (int i = 1; i <= record::FieldCount; ++i)
        table << QStringLiteral("f%1").arg(i);
    return {(u'"' + comma.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n")).toLatin1().repeated(3),
            "titres\r\n" + (tab.join(u'\t') + QStringLiteral("\r\n")).toLatin1().repeated(3),
            "Commune\tParoisse\tA\tB\r\n" + (table.join(u'\t') + QStringLiteral("\r\n")).toLatin1().repeated(2)};
}

QByteArray damaged(QByteArray b, QRandomGenerator &rng)
{
    static const char specials[] = {'"', ',', '\t', '\r', '\n', '\0', '\x1a', char(0xa0), char(0x82), ' '};
    const int edits = 1 + int(rng.bounded(8));
    for (int e = 0; e < edits && !b.isEmpty(); ++e) {
        const qsizetype at = qsizetype(rng.bounded(quint32(b.size())));
        switch (rng.bounded(4)) {
        case 0: b[at] = specials[rng.bounded(int(sizeof specials))]; break;
        case 1: b.remove(at, 1 + rng.bounded(40)); break;
        case 2: b.insert(at, QByteArray(1 + rng.bounded(5), specials[rng.bounded(int(sizeof specials))])); break;
        default: b.truncate(at); break;
        }
    }
    return b;
}

} // namespace

class TestTablesFuzz : public QObject {
    Q_OBJECT
private slots:
    void shortRun()
    {
        QTemporaryDir folder;
        QRandomGenerator rng(20261206);
        const QList<QByteArray> seeds = ::seeds();
        auto run = [&](const QByteArray &b) {
            fuzzentry::runOne(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size()), folder.path());
        };
        for (const auto &s : seeds)
            run(s);
        run(QByteArray());
        for (int i = 0; i < 300; ++i)
            run(damaged(seeds.at(i % 3), rng));
        for (int i = 0; i < 100; ++i) {
            QByteArray b(rng.bounded(600), Qt::Uninitialized);
            for (char &c : b)
                c = char(rng.bounded(256));
            run(b);
        }
        // Reaching here means no check failed (a failure aborts the program).
        QVERIFY(true);
    }
};

QTEST_GUILESS_MAIN(TestTablesFuzz)
#include "test_tables_fuzz.moc"
