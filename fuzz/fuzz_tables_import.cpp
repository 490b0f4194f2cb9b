// libFuzzer target: random bytes through the import (recognition, converters,
// the whole import) and the CSV row. Built with clang by the fuzz_tables_import
// target; run for example as: fuzz_tables_import -max_total_time=600 corpus/
#include "fuzz/fuzz_tables_entry.h"

#include <QCoreApplication>

// Qt wants its application object made once, from the fuzzer's own command line.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    fuzzentry::runOne(data, size, folder.path());
    return 0;
}
