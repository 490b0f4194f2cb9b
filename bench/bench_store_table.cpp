// Load and save of a table of 100,000 complete records, against a plain copy of
// the same file measured in the same run; and the memory the loaded table takes.
#include "bench/benchdata.h"
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

long statusKb(const char *key)
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath("Grande.krv");
    benchdata::writeTable(path, records);
    const qint64 size = QFileInfo(path).size();

    // Peak memory from here on only.
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const long rssBefore = statusKb("VmRSS:");

    QElapsedTimer t;
    TableStore store;
    store.setAppFolder(dir.path());
    t.start();
    if (store.load(path) != TableStore::LoadResult::Ok)
        return 1;
    const double loadMs = t.nsecsElapsed() / 1e6;
    const long peakKb = statusKb("VmHWM:");

    t.restart();
    if (!store.save(path))
        return 1;
    const double saveMs = t.nsecsElapsed() / 1e6;

    const QString copyPath = dir.filePath("copie.krv");
    t.restart();
    QFile::copy(path, copyPath);
    const double copyMs = t.nsecsElapsed() / 1e6;

    std::printf("records:            %d\n", records);
    std::printf("file size:          %.1f MB\n", size / 1e6);
    std::printf("Load table:         %8.1f ms\n", loadMs);
    std::printf("Save table:         %8.1f ms (includes the Temp2.tmp copy)\n", saveMs);
    std::printf("plain copy:         %8.1f ms\n", copyMs);
    std::printf("(load + save)/copy: %8.2f   (goal: at most 5)\n", (loadMs + saveMs) / copyMs);
    std::printf("peak memory added by loading: %.1f MB = %.2f x file size (goal: under 3)\n",
                (peakKb - rssBefore) / 1024.0, (peakKb - rssBefore) * 1024.0 / size);
    return 0;
}
