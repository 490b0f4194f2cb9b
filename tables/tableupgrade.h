#pragma once
// Opening a table from the manager: a look at its first record line, and the
// rewrite of tables of the older 159-field layout into the 161-field one (the
// surnames of the husband's and the wife's fathers were added as fields 17 and 67).
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tableupgrade {

constexpr int OldFieldCount = 159;

// TAB-separated fields of a line: one more than its TABs, 0 for an empty line.
int fieldCount(QStringView line);

// A record line of the older layout with the two fathers' surnames inserted: each
// father gets the spouse's surname when his first names are filled, an empty field
// otherwise. A line that has not exactly 159 fields is returned unchanged.
QString upgradeLine(const QString &line);
// Header kept, every record line of 159 fields converted, other lines untouched.
void upgradeLines(QStringList &lines);

enum class State {
    Current,     // header only, or a first record line of any count but 159
    OldLayout,   // first record line of 159 fields: upgrade before opening
    Empty,       // no byte at all: not even a header line
    Missing,     // the file is gone
    Unreadable,  // it exists but cannot be read (rights, lock, a folder)
};

// Reads no more than the first two lines of the table file.
State inspect(const QString &path);

enum class UpgradeResult { Done, Unreadable, WriteFailed };
// Rewrites the file with every 159-field record line converted. The new content
// goes to a temporary file renamed over the table, so an interruption leaves either
// the old table or the new one, never a mixture.
UpgradeResult upgradeTable(const QString &path);

// The French message for a table that cannot be opened, empty for Current and
// OldLayout. fileName is the name shown in the list.
QString inspectionMessage(State state, const QString &fileName);
QString upgradeFailedMessage(const QString &fileName);

} // namespace tableupgrade
