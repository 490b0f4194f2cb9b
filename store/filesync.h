#pragma once
// What every atomic write of a file needs after its rename, and what the user is
// told when the write failed.
#include <QString>
#include <functional>

namespace filesync {

// Makes the last rename into the folder holding path survive a power cut (on POSIX
// systems the folder itself is written to disk). False when that failed; the file
// is written anyway, so callers may go on.
bool syncFolderOf(const QString &path);
// Tests watch the folders synced; an empty function stops watching.
void setSyncWatcher(std::function<void(const QString &folder)> watcher);

// Why a file could not be written to path, in French, for a message: what the
// path itself shows (a folder of that name, a missing folder, a file standing
// for a folder), else the system's error number (errno just after the failure: a
// write cut short leaves no report in the file) or its report (errorString() of
// the file) put into words (a full disk, writing refused). Starts in lower case,
// no final stop.
QString failureReason(const QString &path, const QString &systemReport, int errorNumber = 0);

} // namespace filesync
