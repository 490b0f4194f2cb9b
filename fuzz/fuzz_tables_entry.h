#pragma once
// One fuzz input through the import's recognition, both converters, the whole
// import into a scratch folder, and the CSV row: nothing may crash, every record
// line made has its 161 fields, and an import either completes or leaves nothing.
// Shared by the libFuzzer target and the short run of the test suite.
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "tables/import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzzentry {

// A failed check names its own condition.
#define FUZZ_CHECK(ok)                                                                   \
    do {                                                                                 \
        if (!(ok)) {                                                                     \
            std::fprintf(stderr, "fuzz check failed: %s\n", #ok);                       \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

inline bool soundRecordLine(const QString &line)
{
    if (line.count(record::Tab) != record::TabCount)
        return false;
    for (QChar c : line)
        if (c == u'\r' || c == u'\n')
            return false;
    return true;
}

inline void runOne(const uint8_t *data, size_t size, const QString &folder)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArrayView> lines = importer::splitLines(bytes);
    importer::recognise(lines);

    int n = 0;
    for (QByteArrayView raw : lines) {
        if (++n > 20)
            break;
        const QString oem = importer::oemToAnsi(raw);
        FUZZ_CHECK(soundRecordLine(importer::commaRecordLine(oem, QStringLiteral("Commune"))));
        QString tab;
        if (importer::tabRecordLine(cp1252::decode(raw), tab))
            FUZZ_CHECK(soundRecordLine(tab));
        const QString text = cp1252::decode(raw);
        FUZZ_CHECK(importer::titleCase(text).size() == text.size());
    }

    // The whole import: done with a sound table, or nothing under the target.
    const QString source = QDir(folder).filePath(QStringLiteral("source.txt"));
    const QString target = QDir(folder).filePath(QStringLiteral("source.krv"));
    QFile::remove(target);
    {
        QFile f(source);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    const auto outcome = importer::importFile(source, target, [](TableStore &t) {
        t.commune = QStringLiteral("Commune");
        t.people = QStringLiteral("A");
    });
    if (outcome != importer::Outcome::Done) {
        FUZZ_CHECK(!QFileInfo::exists(target));
        return;
    }
    QFile out(target);
    FUZZ_CHECK(out.open(QIODevice::ReadOnly));
    const QByteArray made = out.readAll();
    const auto layout = importer::recognise(lines);
    if (layout == importer::Layout::Copy) {
        FUZZ_CHECK(made == bytes);
        return;
    }
    QStringList table;
    FUZZ_CHECK(readLines(target, table));
    FUZZ_CHECK(!table.isEmpty() && table.first().count(record::Tab) == 3);
    for (qsizetype i = 1; i < table.size(); ++i)
        FUZZ_CHECK(soundRecordLine(table.at(i)));
}

} // namespace fuzzentry
