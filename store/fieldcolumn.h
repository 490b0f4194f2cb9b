#pragma once
// One field of every record of a table side by side in one small buffer, so that a
// search or a completion at each key reads a few bytes per record instead of walking
// through every record line. It follows the table by itself: each entry remembers
// which content of its line it was read from, and an entry whose line has changed
// since (a record stored, moved by a deletion, another table loaded) is read again
// before the next answer.
#include "store/tablestore.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

class FieldColumn {
public:
    // The field at `position` (1-based); with `closed` a field counts only when a TAB
    // follows it, as TableStore::findField.
    explicit FieldColumn(int position, bool closed = false) : m_position(position), m_closed(closed) {}

    // Same answer as table.findField(position, prefix, from, step, closed) for the
    // table as it stands now.
    int find(const TableStore &table, QStringView prefix, int from, int step);
    // The field of record k (1-based) as last read; empty when the line lacks it.
    QString text(int k) const;
    // Brings the column up to date with the table's records.
    void sync(const TableStore &table);

private:
    struct Entry {
        quint64 stamp{};
        qsizetype offset = -1; // -1: the line lacks the field
        qsizetype size{};
    };
    void read(Entry &e, const TableStore &table, int i);
    void compact();

    int m_position;
    bool m_closed;
    std::vector<Entry> m_entries; // index 0 is record 1
    QByteArray m_text;            // Windows-1252, as in the table
    qsizetype m_wasted{};
    quint64 m_revision{};         // the table's revision when last followed (0: never)
};
