// libFuzzer target: random bytes through the import (recognition, converters,
// the whole import) and the CSV row. Built with clang by the fuzz_tables_import
// target; run for example as: fuzz_tables_import -max_total_time=600 corpus/
#include "tables/fuzz/fuzz_tables_entry.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_tables_import";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder;
    fuzzentry::runOne(data, size, folder.path());
    return 0;
}
