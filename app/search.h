#pragma once
// Search by the husband's surname (field 7): a record matches when its surname
// begins with the search text, case-sensitive, no trimming. A line with fewer than
// 7 TABs has no surname and never matches.
#include "store/fieldcolumn.h"
#include "store/tablestore.h"

#include <QStringView>

namespace search {

constexpr int SurnameField = 7;

// The husbands' surnames of a table side by side, so that a search reads a few bytes
// per record; it follows the table's stores, deletions and loads by itself.
class SurnameIndex {
public:
    // First record matching q, examining from record `from` towards the start (step -1)
    // or the end (step +1) of the records 1..N; the spare slot is never examined.
    // Returns the record number, or 0 when nothing matches.
    int find(const TableStore &table, QStringView q, int from, int step) { return m_column.find(table, q, from, step); }
    // The incremental search: from record 1 towards the end.
    int first(const TableStore &table, QStringView q) { return find(table, q, 1, +1); }
    // The "<" and ">" buttons: from the record shown, excluding it.
    int previous(const TableStore &table, QStringView q, int shown) { return find(table, q, shown - 1, -1); }
    int next(const TableStore &table, QStringView q, int shown) { return find(table, q, shown + 1, +1); }

    // Brings the index up to date with the table (records 1..N).
    void sync(const TableStore &table) { m_column.sync(table); }

private:
    FieldColumn m_column{SurnameField, true};
};

// The text a keystroke leaves in a box holding t, caret p, selection length s.
// `key` is the character typed, QChar(8) for Backspace or QChar(127) for Delete.
QString textAfterKey(const QString &t, int p, int s, QChar key);

} // namespace search
