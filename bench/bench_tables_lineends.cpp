// Line ends and long lines: a table of about 48 MB with CR LF line ends against the
// same table with LF alone, through the line splitter, the table load, the CSV
// export and the import; and one line of 50 MB through the inspection before
// opening, against reading a CR LF table of the same size. Every LF figure of a
// step users wait on, and the long line, should stay within 1.5 times its CR LF
// figure. Run: build/bench/bench_tables_lineends [records, 25000 by default]
#include "bench/benchdata.h"
#include "store/lineends.h"
#include "store/tablestore.h"
#include "tables/export.h"
#include "tables/import.h"
#include "tables/tableupgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The best of three runs, in milliseconds.
double best(const std::function<void()> &run)
{
    double ms = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms = std::min(ms, t.nsecsElapsed() / 1e6);
    }
    return ms;
}

// Prints one row; returns 1 when a step users wait on is too slow.
int ratioLine(const char *what, double crlf, double other, bool waitedOn = true)
{
    const double ratio = other / crlf;
    const bool slow = waitedOn && ratio > 1.5;
    std::printf("%-34s %9.1f ms %9.1f ms %7.2f%s\n", what, crlf, other, ratio, slow ? "   TOO SLOW" : "");
    return slow ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 25000;
    QTemporaryDir dir;
    const QString crlfPath = dir.filePath("Crlf.krv");
    const QString lfPath = dir.filePath("Lf.krv");
    if (!benchdata::writeTable(crlfPath, records))
        return 1;
    const QByteArray crlf = readAll(crlfPath);
    const QByteArray lf = QByteArray(crlf).replace("\r\n", "\n");
    if (!writeAll(lfPath, lf))
        return 1;
    std::printf("table: %d records, %.1f MB with CR LF, %.1f MB with LF\n\n", records, crlf.size() / 1e6,
                lf.size() / 1e6);
    std::printf("%-34s %12s %12s %7s\n", "", "CR LF", "LF", "ratio");

    int slow = 0;
    qsizetype lines = 0;   // printed at the end, so that no split is left out
    auto split = [&lines](const QByteArray &bytes) {
        return [&bytes, &lines] {
            lineends::forEachLine(bytes, [&lines](QByteArrayView) { return ++lines > 0; });
        };
    };
    // Alone, an LF content is read twice from memory, once to find that it holds
    // no CR, once for its LFs; a CR LF content shows its CR in its first line.
    slow += ratioLine("split in memory (no file)", best(split(crlf)), best(split(lf)), false);

    auto load = [](const QString &path) {
        return [path] {
            TableStore t;
            t.load(path);
        };
    };
    slow += ratioLine("Load table", best(load(crlfPath)), best(load(lfPath)));

    auto csv = [&dir](const QString &path) {
        return [path, &dir] { exporter::exportTable(path, dir.filePath("sortie.csv")); };
    };
    slow += ratioLine("CSV export", best(csv(crlfPath)), best(csv(lfPath)));

    const QString folder = dir.filePath("import");
    QDir().mkpath(folder);
    auto import = [&folder](const QString &path) {
        return [path, &folder] { importer::importFile(path, QDir(folder).filePath("Copie.krv"), {}); };
    };
    slow += ratioLine("import (table copy)", best(import(crlfPath)), best(import(lfPath)));

    // One line of the size of the CR LF table, no line end at all.
    const QString longPath = dir.filePath("Longue.krv");
    if (!writeAll(longPath, QByteArray(crlf.size(), 'x')))
        return 1;
    auto readSplit = [&crlfPath, &lines] {
        QFile f(crlfPath);
        f.open(QIODevice::ReadOnly);
        lineends::Splitter s(lineends::endsOf(f));
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (qint64 got; (got = f.read(block.data(), block.size())) > 0;)
            s.feed(QByteArrayView(block.constData(), got), [&lines](QByteArrayView) { return ++lines > 0; });
        s.finish([&lines](QByteArrayView) { return ++lines > 0; });
    };
    std::printf("\n%-34s %12s %12s %7s\n", "", "CR LF read", "one line", "ratio");
    slow += ratioLine("inspection before opening", best(readSplit),
                      best([&longPath] { tableupgrade::inspect(longPath); }));
    std::printf("\n(%lld lines split in all)\n", (long long)lines);
    return slow;
}
