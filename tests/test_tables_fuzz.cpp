// A short, repeatable run of the import's fuzz checks (a failed check aborts) on random and damaged inputs.
#include "fuzz/fuzz_tables_entry.h"

#include <QRandomGenerator>
#include <QTest>

class TestTablesFuzz : public QObject {
    Q_OBJECT
private slots:
    void shortRun()
    {
        QStringList comma, tab, table;
        for (int i = 0; i < 217; ++i)
            comma << (i == 3 ? QStringLiteral("15/brum/04") : QStringLiteral("val%1").arg(i));
        for (int i = 1; i <= 19; ++i)
            tab << QStringLiteral("Col%1 (+)").arg(i);
        for (int i = 1; i <= record::FieldCount; ++i)
            table << QStringLiteral("f%1").arg(i);
        const QList<QByteArray> seeds{(u'"' + comma.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n")).toLatin1().repeated(3),
                                      "titres\r\n" + (tab.join(u'\t') + QStringLiteral("\r\n")).toLatin1().repeated(3),
                                      "Commune\tParoisse\tA\tB\r\n" + (table.join(u'\t') + QStringLiteral("\r\n")).toLatin1().repeated(2)};
        static const char specials[] = {'"', ',', '\t', '\r', '\n', '\0', '\x1a', char(0xa0), char(0x82), ' '};
        QTemporaryDir folder;
        QRandomGenerator rng(20261206);
        auto run = [&](const QByteArray &b) {
            fuzzentry::runOne(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size()), folder.path());
        };
        for (int i = 0; i < 403; ++i) {
            QByteArray b = i < 3 ? seeds[i] : seeds[i % 3];
            for (int e = i < 3 ? 0 : 1 + int(rng.bounded(8)); e > 0 && !b.isEmpty(); --e) {
                const qsizetype at = qsizetype(rng.bounded(quint32(b.size())));
                const char c = specials[rng.bounded(int(sizeof specials))];
                switch (rng.bounded(4)) {
                case 0: b[at] = c; break;
                case 1: b.remove(at, 1 + rng.bounded(40)); break;
                case 2: b.insert(at, QByteArray(1 + rng.bounded(5), c)); break;
                default: b.truncate(at); break;
                }
            }
            run(b);
        }
        for (int i = 0; i < 101; ++i) {
            QByteArray b(i ? rng.bounded(600) : 0, Qt::Uninitialized);
            for (char &c : b)
                c = char(rng.bounded(256));
            run(b);
        }
    }
};

QTEST_GUILESS_MAIN(TestTablesFuzz)
#include "test_tables_fuzz.moc"
