#pragma once
// The open table in memory: line 0 the header, 1..N the records, N+1 the spare
// slot (the upper index). The file is read and written only here.
#include <QString>
#include <QStringList>
#include <QTime>

class TableStore {
public:
    enum class LoadResult { Ok, Unreadable, Incompatible };

    // The folder holding the program; Temp.tmp and Temp2.tmp live there.
    void setAppFolder(const QString &folder) { m_appFolder = folder; }
    QString appFolder() const { return m_appFolder; }
    QString scratchPath() const;   // <app folder>/Temp.tmp
    QString backupPath() const;    // <app folder>/Temp2.tmp

    // Reads the file; on failure the store is left as it was.
    LoadResult load(const QString &path);
    // Rewrites the file at path from lines 0..upper-1 after copying the old file to
    // Temp2.tmp. The new content goes to a temporary file renamed over the table,
    // so a failure leaves the old file whole. Returns false when the file was not
    // written.
    bool save(const QString &path);

    // What a save did. The backup copy is a convenience: when it cannot be made the
    // file is written all the same, and the report says so.
    struct SaveReport {
        bool written = false;     // the file at path now holds the store
        bool backupMade = true;   // the former file is in Temp2.tmp (or there was none)
        QString reason;           // the system's reason for the failure, when one failed
    };
    SaveReport saveReporting(const QString &path);
    bool saveTable() { return save(m_tablePath); }
    bool scratchSave() { return save(scratchPath()); }

    // The lines: 0 header, 1..N records, upperIndex() the spare slot.
    int upperIndex() const { return int(m_lines.size()) - 1; }
    int recordCount() const { return upperIndex() - 1; }
    bool isOpen() const { return !m_lines.isEmpty(); }
    const QString &line(int i) const { return m_lines.at(i); }
    void setLine(int i, const QString &text) { m_lines[i] = text; }
    const QStringList &lines() const { return m_lines; }

    // Adds an empty spare slot after the current one.
    void grow() { m_lines.append(QString()); }
    // Removes record k (1..N); later records move down one place.
    bool deleteRecord(int k);

    QString tablePath() const { return m_tablePath; }
    void setTablePath(const QString &p) { m_tablePath = p; }

    // The four header fields, the working copy from load on.
    QString commune, sources, people, parishList;
    QString headerLine() const;
    QStringList parishNames() const;
    void setParishNames(const QStringList &names);

    // Replaces the whole store (used by tests and by code building tables).
    void setContent(const QStringList &lines, const QString &path = {});
    void clear();

    int currentLine = 0;

private:
    QStringList m_lines;
    QString m_tablePath;
    QString m_appFolder;
};

// Splits one header line at its first three TABs; false when it has fewer.
bool splitHeader(const QString &header, QString &commune, QString &sources, QString &people, QString &parishes);
// The parish list split at the no-break space, in file order; empty list for "".
QStringList splitParishList(const QString &list);

// Reads a Windows-1252 text file into lines: CR LF, lone CR and lone LF end a line,
// a terminator at the end of the file opens no further line.
bool readLines(const QString &path, QStringList &lines);
// Writes lines, each followed by CR LF, to a temporary file renamed over path.
// On failure `error`, when given, receives the system's reason.
bool writeLinesAtomic(const QString &path, const QStringList &lines, qsizetype count = -1,
                      QString *error = nullptr);

// The one-minute clock of the scratch save: a save is due at the first tick more than
// two minutes after the last one, never while the table manager is shown.
class ScratchClock {
public:
    void start(QTime now) { lastSave = now; latestTick = now; }
    // Returns true when the store must be written to Temp.tmp now.
    bool tick(QTime now, bool managerVisible);
    static QString elapsedText(QTime from, QTime to);
    QTime lastSave, latestTick;
};
