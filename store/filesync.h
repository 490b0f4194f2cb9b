#pragma once
// What every atomic write of a file needs after its rename, and what the user is
// told when the write failed.
#include <QString>
#include <functional>

class QSaveFile;

namespace filesync {

// Makes the last rename into the folder holding path survive a power cut (on POSIX
// systems the folder itself is written to disk). False when that failed; the file
// is written anyway, so callers may go on.
bool syncFolderOf(const QString &path);

// Opens file for writing with every write checked: QSaveFile writes what is left in
// its own buffer at commit() and commits the cut file even when that write fails (a
// full disk). Without that buffer each write reports its own failure.
bool openForWriting(QSaveFile &file);
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
