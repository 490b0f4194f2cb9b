#pragma once
// A marriage table as GEDCOM 5.5.1 (UTF-8, lineage-linked): every person named in a
// record becomes an individual, the couple, the parents and the former marriages
// become families, the act becomes the couple's event. People are never merged across
// records; identifiers come from the record number, so they are stable for a table.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <string>

namespace vexport {

// What a run wrote and what it left out.
struct Counts {
    int records = 0;   // records written
    int persons = 0;   // INDI
    int families = 0;  // FAM
    int events = 0;    // events of individuals and families
    int empty = 0;     // record lines with nothing to write, skipped
    int damaged = 0;   // record lines with too few fields, skipped
};

// The 161 fields of a record line as views into it (the last keeps any extra TAB).
using FieldViews = std::array<QStringView, 161>;
// A table line counted as empty (blank, or nothing typed but what every new record
// starts with), damaged (fewer than 160 TABs) or a record; true for a record, its
// fields then in `fields`.
bool takeRecord(QStringView line, FieldViews &fields, Counts &counts);

// The date of a record ("03/05/1815", "../05/1815", "15/Brum/04") or any free text
// typed as a date, as a GEDCOM date: "3 MAY 1815", "MAY 1815", "@#DFRENCH R@ 15 BRUM 4".
// What cannot be a date becomes a phrase in brackets; empty text gives "".
QString gedcomDate(QStringView text);
// "27" as "27y"; "" for anything else (kept as a note by the writer).
QString gedcomAge(QStringView text);

// The header line of the table, split into what the file header and the source need.
struct TableInfo {
    QString commune, sources, people, parishes;
};
TableInfo tableInfo(const QString &headerLine);

class GedcomWriter {
public:
    explicit GedcomWriter(QByteArray &out) : m_out(out) {}
    // HEAD, the submitter and the table's source record.
    void header(const TableInfo &table);
    // One record line, numbered as in the table; false when it was skipped
    // (counted as empty or damaged).
    bool record(int number, QStringView line);
    // TRLR.
    void trailer();
    const Counts &counts() const { return m_counts; }

private:
    void flush();
    QByteArray &m_out;
    std::string m_buf; // one record's lines, kept for its capacity
    Counts m_counts;
};

} // namespace vexport
