// CSV export of a table of 100,000 complete records against a plain copy of the
// same file in the same run; import of a 100,000-line comma file of 217 columns,
// with a progress observer that repaints an off-screen bar at every change.
#include "bench/benchdata.h"
#include "tables/export.h"
#include "tables/import.h"
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QByteArray commaRecord(int n, QStringEncoder &oem)
{
    QStringList v;
    for (int i = 0; i < 217; ++i)
        v << QStringLiteral("VALEUR%1É%2").arg(i).arg(n % 991);
    v[0] = n % 3 ? QStringLiteral("SAINT-ÉLOI") : QStringLiteral("NOTRE-DAME");
    v[3] = QStringLiteral("15/brum/04");
    return oem.encode(u'"' + v.join(QStringLiteral("\",\"")) + u'"');
}

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;

    const QString table = dir.filePath("Grande.krv");
    benchdata::writeTable(table, records);
    const double mb = double(QFileInfo(table).size()) / 1e6;

    QElapsedTimer t;
    t.start();
    QFile::copy(table, dir.filePath("copie.krv"));
    const double copy = seconds(t);
    t.restart();
    const auto r = exporter::exportTable(table, dir.filePath("Grande.csv"));
    const double csv = seconds(t);
    std::printf("table: %d records, %.1f MB\n", records, mb);
    std::printf("plain copy   %.3f s\n", copy);
    std::printf("CSV export   %.3f s (%.2f x the copy; goal at most 3) %s\n", csv, csv / copy,
                r == exporter::Result::Written ? "" : "FAILED");

    const QString comma = dir.filePath("LISTE.ASC");
    {
        QFile f(comma);
        f.open(QIODevice::WriteOnly);
        QStringEncoder oem("IBM850");
        for (int i = 1; i <= records; ++i)
            f.write(commaRecord(i, oem) + "\r\n");
    }
    QPixmap bar(190, 15);
    int updates = 0;
    importer::Observer o;
    o.progress = [&](int phase, int percent) {
        bar = importer::importProgressPixmap(bar.size(), phase, percent, Qt::lightGray);
        ++updates;
    };
    t.restart();
    const auto outcome = importer::importFile(comma, dir.filePath("LISTE.krv"), [](TableStore &s) {
        s.commune = QStringLiteral("Valbrune");
    }, o);
    const double imp = seconds(t);
    std::printf("comma import %.3f s for %d lines of %.1f MB, %d bar updates (goal under 3 s) %s\n", imp, records,
                double(QFileInfo(comma).size()) / 1e6, updates, outcome == importer::Outcome::Done ? "" : "FAILED");
    return 0;
}
