#include "store/fieldcolumn.h"

#include "store/cp1252.h"

#include <cstring>

void FieldColumn::read(Entry &e, const TableStore &table, int i)
{
    m_wasted += e.size;
    e.stamp = table.stamp(i);
    QByteArrayView f;
    if (!TableStore::fieldBytes(table.bytes(i), m_position, m_closed, f)) {
        e.offset = -1;
        e.size = 0;
        return;
    }
    e.offset = m_text.size();
    e.size = f.size();
    m_text.append(f);
}

void FieldColumn::sync(const TableStore &table)
{
    if (table.revision() == m_revision)
        return;
    if (table.m_replaced >= 0 && table.m_revisionBefore == m_revision) {
        // One line replaced since the last time (a record stored): read it alone.
        const int i = table.m_replaced;
        if (i >= 1 && size_t(i) <= m_entries.size())
            read(m_entries[size_t(i - 1)], table, i);
        compact();
        m_revision = table.revision();
        return;
    }
    const int n = table.isOpen() ? table.recordCount() : 0;
    for (int i = 0; i < n; ++i) {
        const quint64 stamp = table.stamp(i + 1);
        if (size_t(i) < m_entries.size() && m_entries[size_t(i)].stamp == stamp)
            continue;
        // A deleted record: the following entries move up one place.
        if (size_t(i) + 1 < m_entries.size() && m_entries[size_t(i) + 1].stamp == stamp) {
            m_wasted += m_entries[size_t(i)].size;
            m_entries.erase(m_entries.begin() + i);
            continue;
        }
        if (size_t(i) >= m_entries.size())
            m_entries.emplace_back();
        read(m_entries[size_t(i)], table, i + 1);
    }
    for (size_t i = size_t(n); i < m_entries.size(); ++i)
        m_wasted += m_entries[i].size;
    m_entries.resize(size_t(n));
    compact();
    m_revision = table.revision();
}

void FieldColumn::compact()
{
    // Rebuild the buffer when most of it is stale.
    if (m_wasted > 4096 && m_wasted > m_text.size() / 2) {
        QByteArray text;
        for (Entry &e : m_entries) {
            if (e.offset < 0)
                continue;
            const qsizetype at = text.size();
            text.append(m_text.constData() + e.offset, e.size);
            e.offset = at;
        }
        m_text = std::move(text);
        m_wasted = 0;
    }
}

int FieldColumn::find(const TableStore &table, QStringView prefix, int from, int step)
{
    QByteArray pre;
    if (!table.isOpen() || step == 0 || !cp1252::encodeExact(prefix, pre))
        return 0;
    sync(table);
    const char *text = m_text.constData();
    const qsizetype n = pre.size();
    const int last = int(m_entries.size());
    for (int i = from; i >= 1 && i <= last; i += step) {
        const Entry &e = m_entries[size_t(i - 1)];
        if (e.offset >= 0 && e.size >= n && std::memcmp(text + e.offset, pre.constData(), size_t(n)) == 0)
            return i;
    }
    return 0;
}

QString FieldColumn::text(int k) const
{
    if (k < 1 || size_t(k) > m_entries.size() || m_entries[size_t(k - 1)].offset < 0)
        return {};
    const Entry &e = m_entries[size_t(k - 1)];
    return cp1252::decode(QByteArrayView(m_text.constData() + e.offset, e.size));
}
