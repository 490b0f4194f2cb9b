// Origin completion on a table of 100,000 complete records, worst case: no
// record matches, so every key scans the whole table. The wife's origin (field
// 59) is the far one: 58 TABs to count on each line.
#include "app/fieldrules.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// complete: every field filled (the longest lines); typical: the fields a
// volunteer usually fills, the others empty.
QString makeRecord(int n, bool complete)
{
    QStringList f;
    for (int p = 1; p <= record::FieldCount; ++p)
        f << (complete || p <= 30 || (p >= 55 && p <= 75) ? QStringLiteral("Champ%1é%2").arg(p).arg(n % 997) : QString());
    f[2] = QStringLiteral("MA");
    f[4] = QStringLiteral("12/02/1788");
    f[5] = QStringLiteral("0");
    f[8] = QStringLiteral("Plouvien");
    f[58] = QStringLiteral("Landéda");
    return record::joinFields(f);
}

struct Ctx : fieldrules::Context {
    const TableStore *t = nullptr;
    QString boxText(int) const override { return {}; }
    const TableStore *table() const override { return t; }
    DateBoxes dateBoxes() const override { return {}; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    for (bool complete : {false, true}) {
    QStringList lines{QStringLiteral("Valbrune\t\t\t")};
    for (int i = 1; i <= records; ++i)
        lines << makeRecord(i, complete);
    TableStore table;
    table.setContent(lines);
    Ctx ctx;
    ctx.t = &table;

    for (int box : {8, 20}) {
        const fieldrules::Box typed{QStringLiteral("Ker"), 3, 0};
        auto key = [&] {
            QElapsedTimer timer;
            timer.start();
            const auto r = fieldrules::keyPress(box, typed, u'z', ctx);
            if (r.key.isNull()) {   // a proposal was made
                std::fprintf(stderr, "unexpected proposal\n");
                std::exit(1);
            }
            return timer.nsecsElapsed() / 1e6;
        };
        const double first = key();
        const int rounds = 50;
        double worst = 0, total = 0;
        for (int i = 0; i < rounds; ++i) {
            const double ms = key();
            worst = std::max(worst, ms);
            total += ms;
        }
        // A record stored between two keys: the table's line replaced.
        QElapsedTimer timer;
        timer.start();
        table.setLine(records / 2, makeRecord(records + 1, complete));
        const double store = timer.nsecsElapsed() / 1e6;
        const double afterStore = key();
        std::printf("%s records (%lld characters), box %d (field %d), %d records, no match:\n"
                    "  first key %.2f ms; then per key mean %.3f ms, worst %.3f ms (goal < 5 ms);\n"
                    "  a line replaced %.2f ms, the next key %.2f ms\n",
                    complete ? "complete" : "typical", (long long)lines.at(1).size(), box, box == 8 ? 9 : 59,
                    records, first, total / rounds, worst, store, afterStore);
        // The plain scan of the lines, for comparison.
        timer.restart();
        table.findField(box == 8 ? 9 : 59, QStringLiteral("Kerz"), 1, +1);
        std::printf("  plain scan of the lines %.2f ms\n", timer.nsecsElapsed() / 1e6);
    }
    }
    return 0;
}
