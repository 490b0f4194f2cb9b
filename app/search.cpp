#include "app/search.h"

namespace search {

bool husbandSurname(QStringView line, QStringView &surname)
{
    // Field 7 starts after the 6th TAB and ends at the 7th.
    qsizetype start = 0;
    for (int tabs = 0; tabs < 6; ++tabs) {
        const qsizetype t = line.indexOf(u'\t', start);
        if (t < 0)
            return false;
        start = t + 1;
    }
    const qsizetype end = line.indexOf(u'\t', start);
    if (end < 0)
        return false;
    surname = line.mid(start, end - start);
    return true;
}

bool matches(QStringView line, QStringView q)
{
    QStringView surname;
    if (!husbandSurname(line, surname))
        return false;
    return surname.size() >= q.size() && surname.left(q.size()) == q;
}

int find(const TableStore &table, QStringView q, int from, int step)
{
    if (!table.isOpen() || step == 0)
        return 0;
    const int last = table.recordCount();
    for (int i = from; i >= 1 && i <= last; i += step) {
        if (matches(table.line(i), q))
            return i;
    }
    return 0;
}

QString textAfterKey(const QString &t, int p, int s, QChar key)
{
    p = qBound(0, p, int(t.size()));
    s = qBound(0, s, int(t.size()) - p);
    if (key == QChar(8)) {
        if (s > 0)
            return t.left(p) + t.mid(p + s);
        if (p >= 1)
            return t.left(p - 1) + t.mid(p);
        return t;
    }
    return t.left(p) + key + t.mid(p + s);
}

} // namespace search
