#pragma once
// The large invented table the benchmarks measure on: every field of every record filled.
#include "store/cp1252.h"
#include "store/recordmodel.h"

#include <QFile>
#include <QStringList>

namespace benchdata {

inline QString completeRecord(int n)
{
    QStringList f;
    for (int p = 1; p <= record::FieldCount; ++p)
        f << QStringLiteral("Champ%1é%2").arg(p).arg(n % 997);
    f[2] = QStringLiteral("MA");
    f[4] = QStringLiteral("12/02/1788");
    f[5] = QStringLiteral("0");
    return record::joinFields(f);
}

inline QString headerLine()
{
    const QChar nb = record::Nbsp;
    return QStringLiteral("Valbrune\t1700 à 1900_AD\tA%1B%1C%1D%1E\tSaint-Martin").arg(nb);
}

// Writes a table of `records` complete records to path, one line at a time.
inline bool writeTable(const QString &path, int records)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(cp1252::encode(headerLine()) + "\r\n");
    for (int i = 1; i <= records; ++i)
        f.write(cp1252::encode(completeRecord(i)) + "\r\n");
    return true;
}

} // namespace benchdata
