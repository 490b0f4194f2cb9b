#pragma once
// The open table in memory: line 0 the header, 1..N the records, N+1 the spare
// slot (the upper index). The file is read and written only here.
//
// The table is kept as the file's own Windows-1252 bytes: one buffer per load, each
// line a stretch of it until the line is replaced. A line is decoded only when it is
// asked for, and a save writes the untouched stretches as they were read, so that a
// 200 MB table costs about its own size in memory and a save about a file copy.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTime>

#include <vector>

class FieldColumn;

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
    // Rewrites the file at path from lines 0..upper-1 after keeping the old file as
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
    bool isOpen() const { return !m_lines.empty(); }
    // Line i as text (decoded on each call: keep the result rather than ask again).
    QString line(int i) const;
    // Characters outside Windows-1252 are stored as '?'.
    void setLine(int i, const QString &text);
    // Every line, the spare slot included, as text.
    QStringList lines() const;

    // Field `position` (1-based, up to the next TAB) of line i; false when the line
    // has fewer than position - 1 TABs.
    bool field(int i, int position, QString &out) const;
    // First record, from record `from` stepping by `step` through records 1..N, whose
    // field `position` begins with prefix (case-sensitive); 0 when none does. With
    // `closed`, a field counts only when a TAB follows it.
    int findField(int position, QStringView prefix, int from, int step, bool closed = false) const;

    // Changes at every change of the lines (store, growth, deletion, load): two equal
    // revisions, even of two stores, mean the same lines.
    quint64 revision() const { return m_revision; }

    // Adds an empty spare slot after the current one.
    void grow();
    // Removes record k (1..N); later records move down one place.
    bool deleteRecord(int k);

    QString tablePath() const { return m_tablePath; }
    void setTablePath(const QString &p) { m_tablePath = p; }

    // The four header fields, the working copy from load on.
    QString commune, sources, people, parishList;
    QString headerLine() const;
    QStringList parishNames() const;
    void setParishNames(const QStringList &names);

    // Replaces the whole store (used by tests and benches); the lines lie back to
    // back, so a save writes each with its own line end.
    void setContent(const QStringList &lines, const QString &path = {});

private:
    friend class FieldColumn;
    // A line is the stretch [offset, offset + size) of m_bytes, or its own bytes once
    // replaced (offset -1). The stamp is given once, to this content of this line.
    struct Line {
        QByteArray own;
        qsizetype offset = -1;
        qsizetype size{};
        quint64 stamp{};
    };
    QByteArrayView bytes(int i) const;
    // Field `position` of a line's bytes, as field() and findField() read it.
    static bool fieldBytes(QByteArrayView line, int position, bool closed, QByteArrayView &out);
    quint64 stamp(int i) const { return m_lines[size_t(i)].stamp; }
    Line ownLine(QByteArray b);
    bool writeStore(const QString &path, size_t count, QString *error = nullptr) const;
    void adopt(QByteArray bytes, std::vector<Line> lines);

    void replaceLine(int i, QByteArray b);
    void changed();

    QByteArray m_bytes;  // never written to once read: the lines point into it
    std::vector<Line> m_lines;
    quint64 m_revision{};   // only ever compared with itself
    // The last change when it replaced one line (the usual store): the revision before
    // it and the line, so that a column follows it by reading that line alone.
    quint64 m_revisionBefore{};
    int m_replaced = -1;
    QString m_tablePath;
    QString m_appFolder;
};

// Splits one header line at its first three TABs; false when it has fewer.
bool splitHeader(const QString &header, QString &commune, QString &sources, QString &people, QString &parishes);
// The parish list split at the no-break space, in file order; empty list for "".
QStringList splitParishList(const QString &list);

// Reads a Windows-1252 text file into lines, split as store/lineends.h says (CR LF
// or a lone CR; LF only in a file without any CR); a terminator at the end of the
// file opens no further line.
bool readLines(const QString &path, QStringList &lines);
// Writes lines, each followed by CR LF, to a temporary file renamed over path.
bool writeLinesAtomic(const QString &path, const QStringList &lines);

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
