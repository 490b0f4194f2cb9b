#pragma once
// When a table cannot be written: the rescue copy that lets the user leave without
// losing a record, and the French texts of the save path. Plain functions: the
// entry window only shows the texts and asks.
#include "store/tablestore.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace savefailure {

// What the user chose when the table could not be written.
enum class Choice { Retry, Rescue, Stay };

// The folders tried for a rescue copy, in order: the user's documents, the home
// folder, the temporary folder.
QStringList defaultFolders();

// The rescue copy's file name: the table's name, "secours", the date and time
// ("Valbrune secours 2026-12-07 14h05m09s.krv").
QString rescueFileName(const QString &tablePath, const QDateTime &when);

struct Rescue {
    QString path;    // the copy written; empty when no folder took it
    QString reason;  // the system's reason of the last failure
};
// Writes the store (header rebuilt, spare slot left out) to a new file in the first
// folder that takes it, never over an existing file.
Rescue writeRescueCopy(TableStore &table, const QStringList &folders, const QDateTime &when);

// A reason the system gave, or a French word when it gave none worth reading.
QString systemReason(const QString &reason);

// Why the table at path could not be written now (empty when it can be): the
// folder missing or no folder, the path a folder, the file or folder read-only.
QString writeProblem(const QString &tablePath);

// The texts.
QString backupFailedText(const QString &backupPath, const QString &reason);
QString saveFailedText(const QString &tablePath, const QString &reason);
QString rescuedText(const QString &rescuePath);
QString rescueFailedText(const QString &reason);
QString unwritableText(const QString &tablePath, const QString &reason);

} // namespace savefailure
