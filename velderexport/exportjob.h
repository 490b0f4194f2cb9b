#pragma once
// One export of a table: read it (read-only, never locked, never rewritten), write
// GEDCOM or a UTF-8 CSV to a target file as a whole or not at all, and say in French
// what was written. The window and the command line both go through here.
#include "velderexport/gedcom.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vexport {

enum class Format { Gedcom, Csv };

struct Result {
    bool ok = false;
    QString message; // French, shown to the user as it is
    Counts counts;
};

// The table as a UTF-8 CSV (byte order mark, RFC 4180 quoting, CR LF): a header row
// "N°" and the field names, then one row per record numbered as in the table.
class CsvWriter {
public:
    explicit CsvWriter(QByteArray &out) : m_out(out) {}
    void header();
    bool record(int number, QStringView line);
    const Counts &counts() const { return m_counts; }

private:
    QByteArray &m_out;
    Counts m_counts;
};
// One CSV field, quoted when it holds a comma, a semicolon, a quote or a line end.
QString csvField(const QString &text);

// `done` is called now and then with the records handled so far and their number.
using Progress = std::function<void(int done, int total)>;
Result exportTable(const QString &tablePath, const QString &targetPath, Format format,
                   const Progress &progress = {});

// "Valmorin.ged" for "…/Valmorin.krv".
QString defaultTarget(const QString &tablePath, Format format);

// The command line: `--gedcom Table.krv sortie.ged` or `--csv Table.krv sortie.csv`.
// Returns the exit code; the summary goes to `out`, errors to `err`.
int runCommandLine(const QStringList &arguments, QString &out, QString &err);

} // namespace vexport
