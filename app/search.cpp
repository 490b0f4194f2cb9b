#include "app/search.h"

#include <algorithm>

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

void SurnameIndex::read(Entry &e, const QString &line)
{
    e.line = line;
    QStringView surname;
    if (!husbandSurname(line, surname)) {
        e.offset = -1;
        e.length = 0;
        return;
    }
    m_wasted += e.length;
    e.offset = m_text.size();
    e.length = surname.size();
    m_text.append(surname);
}

void SurnameIndex::sync(const TableStore &table)
{
    const int n = table.isOpen() ? table.recordCount() : 0;
    auto same = [](const QString &a, const QString &b) {
        // The entry holds a reference to its line's buffer, so that buffer cannot be
        // reused by another line: the same address is the same, unchanged text.
        return a.constData() == b.constData() && a.size() == b.size();
    };
    for (int i = 0; i < n; ++i) {
        const QString &line = table.line(i + 1);
        if (std::size_t(i) < m_entries.size() && same(m_entries[i].line, line))
            continue;
        // A deleted record: the following entries move up one place.
        if (std::size_t(i) + 1 < m_entries.size() && same(m_entries[i + 1].line, line)) {
            m_wasted += m_entries[i].length;
            m_entries.erase(m_entries.begin() + i);
            continue;
        }
        if (std::size_t(i) >= m_entries.size())
            m_entries.emplace_back();
        read(m_entries[i], line);
    }
    for (std::size_t i = n; i < m_entries.size(); ++i)
        m_wasted += m_entries[i].length;
    m_entries.resize(n);
    // Rebuild the buffer when most of it is stale.
    if (m_wasted > 4096 && m_wasted > m_text.size() / 2) {
        QString text;
        text.reserve(m_text.size() - m_wasted);
        for (Entry &e : m_entries) {
            if (e.offset < 0)
                continue;
            const qsizetype at = text.size();
            text.append(QStringView(m_text).mid(e.offset, e.length));
            e.offset = at;
        }
        m_text = std::move(text);
        m_wasted = 0;
    }
}

bool SurnameIndex::matchesEntry(const Entry &e, QStringView q) const
{
    return e.offset >= 0 && e.length >= q.size() && QStringView(m_text).mid(e.offset, q.size()) == q;
}

int SurnameIndex::find(const TableStore &table, QStringView q, int from, int step)
{
    if (!table.isOpen() || step == 0)
        return 0;
    sync(table);
    const int last = int(m_entries.size());
    for (int i = from; i >= 1 && i <= last; i += step) {
        if (matchesEntry(m_entries[i - 1], q))
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
    if (key == QChar(127)) {
        // Delete: the selection, else the character after the caret.
        return t.left(p) + t.mid(p + std::max(s, 1));
    }
    return t.left(p) + key + t.mid(p + s);
}

} // namespace search
