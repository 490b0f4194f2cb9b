// Moving between records of a table of 100,000 complete records in the real entry
// window (offscreen): Store + Show per move, next, previous, typed number and the
// append of a new record, against the same moves on a table of 100 records.
#include "bench/benchdata.h"
#include "app/form1.h"
#include "store/recordmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Stats { double meanUs, maxUs; };

template <typename Move>
Stats time(int moves, Move move)
{
    std::vector<double> us;
    us.reserve(moves);
    for (int i = 0; i < moves; ++i) {
        QElapsedTimer t;
        t.start();
        move(i);
        us.push_back(t.nsecsElapsed() / 1000.0);
    }
    double sum = 0;
    for (double v : us) sum += v;
    return {sum / moves, *std::max_element(us.begin(), us.end())};
}

void run(int records)
{
    QStringList lines{QStringLiteral("Valbrune\t1700 à 1900_AD\tA\tSaint-Martin")};
    for (int i = 1; i <= records; ++i)
        lines << benchdata::completeRecord(i);
    TableStore table;
    table.setContent(lines, QStringLiteral("/nonexistent/Grande.krv"));
    Form1 form(table);
    EntryState s = form.readState();
    transfer::show(table, s, transfer::End);
    form.writeState(s);

    const int moves = std::min(2000, records - 2);
    form.Store(transfer::First);
    const Stats next = time(moves, [&](int) { form.CmdSuivant_Click(); });
    const Stats previous = time(moves, [&](int) { form.CmdPrecedent_Click(); });
    const Stats typed = time(moves, [&](int i) { form.Store(transfer::Typed, 1 + (i * 7919) % records); });
    form.CmdFin_Click();
    const Stats append = time(moves, [&](int i) {
        form.Txt[6]->setText(QStringLiteral("NOUVEAU%1").arg(i));
        form.CmdSuivant_Click();
    });
    // The same moves without the widgets: the store's share of the time.
    EntryState bare = form.readState();
    transfer::store(table, bare, transfer::First);
    const Stats logic = time(moves, [&](int) { transfer::store(table, bare, transfer::Next); });
    std::printf("%7d records  values only: next %6.1f us\n", records, logic.meanUs);
    std::printf("%7d records  next %7.1f us (max %7.1f)  previous %7.1f us (max %7.1f)  typed %7.1f us (max %7.1f)  append %7.1f us (max %7.1f)\n",
                records, next.meanUs, next.maxUs, previous.meanUs, previous.maxUs, typed.meanUs, typed.maxUs,
                append.meanUs, append.maxUs);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::printf("Store + Show per move in the entry window (goal: under 1 ms, independent of the size)\n");
    run(100);
    run(records);
    return 0;
}
