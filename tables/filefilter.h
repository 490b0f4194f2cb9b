#pragma once
// The common dialogs' filter lists are written as "Name (*.X)|*.X|..." pairs;
// QFileDialog wants "Name (*.X);;...". The pattern is already in each name.
#include <QString>
#include <QStringList>

namespace filefilter {

inline QString fromPairs(const QString &pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts.at(i);
    return names.join(QStringLiteral(";;"));
}

} // namespace filefilter
