// Place completion of the detail window on a table of 100,000 complete records,
// worst case: no record matches, so each key scans every line's field 9.
#include "bench/benchdata.h"
#include "detail/detaillogic.h"
#include "store/recordmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QStringList lines{QStringLiteral("Valbrune\t\t\t")};
    for (int n = 0; n < records; ++n) {
        QStringList f;
        record::splitFields(benchdata::completeRecord(n), f);
        f[8] = QStringLiteral("Plouvien");
        lines << record::joinFields(f);
    }
    TableStore table;
    table.setContent(lines);

    detail::KeyInput in;
    in.mode = detail::Witnesses;
    in.index = 5;
    in.text = QStringLiteral("Kerv");
    in.caret = 4;
    in.key = u'x';
    constexpr int keys = 20;
    QElapsedTimer timer;
    timer.start();
    int completed = 0;
    for (int k = 0; k < keys; ++k)
        completed += detail::keyPress(in, table).kind == detail::KeyOutcome::Complete;
    const double perKey = double(timer.nsecsElapsed()) / keys / 1e6;
    std::printf("%d records, no match: %.2f ms per key (%d completed)\n", records, perKey, completed);
    in.text = QStringLiteral("Plou");
    in.key = u'v';
    timer.restart();
    completed = detail::keyPress(in, table).kind == detail::KeyOutcome::Complete;
    std::printf("first record matching: %.3f ms (%d completed)\n", double(timer.nsecsElapsed()) / 1e6, completed);
    return 0;
}
