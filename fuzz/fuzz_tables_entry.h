#pragma once
// One fuzz input through the import's recognition, both converters, the whole
// import into a scratch folder, and the CSV row: nothing may crash, every record
// line made has its 161 fields, and an import either completes or leaves nothing.
// Shared by the libFuzzer target and the short run of the test suite.
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "tables/export.h"
#include "tables/import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzzentry {

inline void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

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
        check(soundRecordLine(importer::commaRecordLine(oem, QStringLiteral("Commune"))), "comma record line");
        check(importer::commaValues(oem).size() == 216, "216 comma values");
        QString tab;
        if (importer::tabRecordLine(cp1252::decode(raw), tab))
            check(soundRecordLine(tab), "TAB record line");
        const QString text = cp1252::decode(raw);
        check(importer::titleCase(text).size() == text.size(), "title case keeps the length");
        QString row;
        if (exporter::csvRow(n, text, row))
            check(row.count(u';') >= record::FieldCount, "CSV row columns");
    }

    // The whole import: done with a sound table, or nothing under the target.
    const QString source = QDir(folder).filePath(QStringLiteral("source.txt"));
    const QString target = QDir(folder).filePath(QStringLiteral("source.krv"));
    QFile::remove(target);
    {
        QFile f(source);
        check(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(), "write the source");
    }
    const auto outcome = importer::importFile(source, target, [](TableStore &t) {
        t.commune = QStringLiteral("Commune");
        t.people = QStringLiteral("A");
    });
    if (outcome != importer::Outcome::Done) {
        check(!QFileInfo::exists(target), "no table after a failed import");
        return;
    }
    QFile out(target);
    check(out.open(QIODevice::ReadOnly), "read the table");
    const QByteArray made = out.readAll();
    const auto layout = importer::recognise(lines);
    if (layout == importer::Layout::Copy) {
        check(made == bytes, "a copied table is the same bytes");
        return;
    }
    QStringList table;
    check(readLines(target, table), "read the table lines");
    check(!table.isEmpty() && table.first().count(record::Tab) == 3, "header of four fields");
    for (qsizetype i = 1; i < table.size(); ++i)
        check(soundRecordLine(table.at(i)), "record line of 161 fields");
}

} // namespace fuzzentry
