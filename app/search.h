#pragma once
// Search by the husband's surname (field 7): a record matches when its surname
// begins with the search text, case-sensitive, no trimming. The surname is found
// by counting TABs, without splitting the line, so a scan of a large table stays cheap.
#include "store/tablestore.h"

#include <QStringView>

#include <vector>

namespace search {

// The husband's surname of a record line: the text between the 6th and 7th TAB.
// Returns false when the line has fewer than 7 TABs (such a line never matches).
bool husbandSurname(QStringView line, QStringView &surname);

// True when the husband's surname of `line` begins with q (an empty q matches
// every complete line).
bool matches(QStringView line, QStringView q);

// First record matching q, examining from record `from` towards the start
// (step -1) or the end (step +1) of the records 1..N; the spare slot is never
// examined. Returns the record number, or 0 when nothing matches.
int find(const TableStore &table, QStringView q, int from, int step);

// The incremental search: from record 1 towards the end.
inline int first(const TableStore &table, QStringView q) { return find(table, q, 1, +1); }
// The "<" and ">" buttons: from the record shown, excluding it.
inline int previous(const TableStore &table, QStringView q, int shown) { return find(table, q, shown - 1, -1); }
inline int next(const TableStore &table, QStringView q, int shown) { return find(table, q, shown + 1, +1); }

// The husbands' surnames of a table side by side in one buffer, so that a search
// reads a few bytes per record instead of the start of every record line, which
// lie scattered through memory. It follows the table by itself: each entry keeps
// a shared copy of the line it was read from, and an entry whose line is no longer
// the table's (edited, moved by a deletion, loaded anew) is read again before the
// next search.
class SurnameIndex {
public:
    // Same answers as search::find on the table as it stands now.
    int find(const TableStore &table, QStringView q, int from, int step);
    int first(const TableStore &table, QStringView q) { return find(table, q, 1, +1); }
    int previous(const TableStore &table, QStringView q, int shown) { return find(table, q, shown - 1, -1); }
    int next(const TableStore &table, QStringView q, int shown) { return find(table, q, shown + 1, +1); }

    // Brings the index up to date with the table (records 1..N).
    void sync(const TableStore &table);

private:
    struct Entry {
        QString line;        // shared with the table while unchanged
        qsizetype offset = -1; // -1: the line has no surname field
        qsizetype length = 0;
    };
    void read(Entry &e, const QString &line);
    bool matchesEntry(const Entry &e, QStringView q) const;

    std::vector<Entry> m_entries; // index 0 is record 1
    QString m_text;
    qsizetype m_wasted = 0;
};

// The text a keystroke leaves in a box holding t, caret p, selection length s.
// `key` is the character typed, QChar(8) for Backspace or QChar(127) for Delete.
QString textAfterKey(const QString &t, int p, int s, QChar key);

} // namespace search
