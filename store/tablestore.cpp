#include "store/tablestore.h"

#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/lineends.h"
#include "store/recordmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif


namespace {

constexpr qint64 kChunk = 1 << 20;

// Every line content ever held gets its own stamp, across all stores of the run.
quint64 g_lastStamp = 0;
quint64 nextStamp() { return ++g_lastStamp; }

// A QSaveFile fed in blocks: small pieces gather in one buffer, large ones (a run of
// unchanged lines) go to the file as they are, with no copy.
class BlockWriter {
public:
    explicit BlockWriter(const QString &path) : m_file(path) {}
    bool open(QString *error = nullptr)
    {
        if (filesync::openForWriting(m_file))
            return true;
        if (error)
            *error = m_file.errorString();
        return false;
    }
    QByteArray &buffer() { return m_buf; }
    // Writes the buffer once it holds a block.
    void spill()
    {
        if (m_buf.size() >= kChunk)
            flush();
    }
    void put(QByteArrayView b)
    {
        if (b.size() < kChunk) {
            m_buf.append(b);
            spill();
            return;
        }
        flush();
        write(b);
    }
    // The one commit point: the new content replaces the file whole, or not at all.
    bool commit(QString *error = nullptr)
    {
        flush();
        if (m_ok && m_file.commit()) {
            // A rename not yet on disk may be lost in a power cut: sync the folder too.
            filesync::syncFolderOf(m_file.fileName());
            return true;
        }
        // Uncommitted, the save file takes its temporary file away with it.
        if (error)
            *error = m_file.errorString();
        return false;
    }

private:
    void flush()
    {
        if (!m_buf.isEmpty())
            write(m_buf);
        m_buf.clear();
    }
    // At most one block per write: a single write of a whole 200 MB run is many
    // times slower than the same bytes in blocks of 1 MiB (measured on Linux ext4).
    void write(QByteArrayView b)
    {
        for (qsizetype at = 0; m_ok && at < b.size(); at += kChunk) {
            const qsizetype n = std::min<qsizetype>(kChunk, b.size() - at);
            m_ok = m_file.write(b.data() + at, n) == n;
        }
    }

    QSaveFile m_file;
    QByteArray m_buf;
    bool m_ok = true;
};

// The whole file in one buffer of its size, filled by direct reads.
bool readAllBytes(const QString &path, QByteArray &out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const qint64 size = f.size();
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = f.read(bytes.data() + got, size - got);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    // A file whose size was unknown or grew meanwhile: the rest in blocks.
    QByteArray block(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 n = f.read(block.data(), block.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        bytes.append(block.constData(), n);
    }
    out = std::move(bytes);
    return true;
}

// Temp2.tmp: a second name for the file about to be replaced, which costs nothing;
// the save then puts the new content at path under a new file and never writes into
// the old one, so the backup keeps it as it was. A real copy where the folder cannot
// hold a second name (another disk, a file system without hard links).
bool backupFile(const QString &from, const QString &to, QString &why)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
#endif
    QFile f(from);
    if (f.copy(to))
        return true;
    why = f.errorString();
    return false;
}

// Index just after the n-th TAB of d[0..size) (0 for n = 0), -1 when there are fewer.
// A search or a completion without its column counts TABs through every record, and
// TABs come every few bytes, so the count goes sixteen bytes at a time.
qsizetype afterTabs(const char *d, qsizetype size, int n)
{
    if (n <= 0)
        return 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, tab)));
        const int found = std::popcount(mask);
        if (found >= n) {
            // The TAB sought is in this block: drop the n - 1 before it.
            while (--n > 0)
                mask &= mask - 1;
            return i + std::countr_zero(mask) + 1;
        }
        n -= found;
    }
#endif
    for (; i < size; ++i)
        if (d[i] == '\t' && --n == 0)
            return i + 1;
    return -1;
}

} // namespace

bool readLines(const QString &path, QStringList &lines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    lines.clear();
    lineends::Splitter splitter(lineends::endsOf(f));
    const auto take = [&lines](QByteArrayView line) {
        lines << cp1252::decode(line);
        return true;
    };
    // One block buffer for the whole file: a fresh one per read costs page faults.
    QByteArray chunk(kChunk, Qt::Uninitialized);
    while (true) {
        const qint64 got = f.read(chunk.data(), kChunk);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        splitter.feed(QByteArrayView(chunk.constData(), got), take);
    }
    splitter.finish(take);
    return true;
}

bool writeLinesAtomic(const QString &path, const QStringList &lines)
{
    BlockWriter w(path);
    if (!w.open())
        return false;
    for (const QString &line : lines) {
        cp1252::encodeAppend(line, w.buffer());
        w.buffer().append("\r\n", 2);
        w.spill();
    }
    return w.commit();
}

bool splitHeader(const QString &header, QString &commune, QString &sources, QString &people, QString &parishes)
{
    const QStringList parts = header.split(record::Tab);
    if (parts.size() < 4)
        return false;
    commune = parts[0];
    sources = parts[1];
    people = parts[2];
    parishes = header.section(record::Tab, 3);   // the rest, TABs and all
    return true;
}

QStringList splitParishList(const QString &list)
{
    if (list.isEmpty())
        return {};
    return list.split(record::Nbsp);
}

QString TableStore::scratchPath() const { return QDir(m_appFolder).filePath(QStringLiteral("Temp.tmp")); }
QString TableStore::backupPath() const { return QDir(m_appFolder).filePath(QStringLiteral("Temp2.tmp")); }

TableStore::LoadResult TableStore::load(const QString &path)
{
    QByteArray bytes;
    if (!readAllBytes(path, bytes))
        return LoadResult::Unreadable;
    std::vector<Line> lines;
    const char *base = bytes.constData();
    lineends::forEachLine(bytes, [&](QByteArrayView l) {
        lines.push_back(Line{{}, l.data() - base, l.size()});
        return true;
    });
    if (lines.empty())
        return LoadResult::Incompatible;
    QString c, s, p, l;
    if (!splitHeader(cp1252::decode(QByteArrayView(base + lines[0].offset, lines[0].size)), c, s, p, l))
        return LoadResult::Incompatible;
    lines.push_back(Line{}); // the spare slot
    adopt(std::move(bytes), std::move(lines));
    m_tablePath = path;
    commune = c;
    sources = s;
    people = p;
    parishList = l;
    return LoadResult::Ok;
}

void TableStore::adopt(QByteArray bytes, std::vector<Line> lines)
{
    for (Line &l : lines)
        l.stamp = nextStamp();
    m_bytes = std::move(bytes);
    m_lines = std::move(lines);
    changed();
}

void TableStore::changed()
{
    m_revision = nextStamp();
    m_replaced = -1;
}

void TableStore::replaceLine(int i, QByteArray b)
{
    const quint64 before = m_revision;
    m_lines[size_t(i)] = ownLine(std::move(b));
    m_revisionBefore = before;
    m_replaced = i;
}

TableStore::Line TableStore::ownLine(QByteArray b)
{
    changed();
    Line l;
    l.size = b.size();
    l.own = std::move(b);
    l.stamp = nextStamp();
    return l;
}

QByteArrayView TableStore::bytes(int i) const
{
    const Line &l = m_lines[size_t(i)];
    if (l.offset < 0)
        return QByteArrayView(l.own);
    return QByteArrayView(m_bytes.constData() + l.offset, l.size);
}

QString TableStore::line(int i) const
{
    if (i < 0 || size_t(i) >= m_lines.size())
        return {};
    return cp1252::decode(bytes(i));
}

void TableStore::setLine(int i, const QString &text)
{
    if (i < 0 || size_t(i) >= m_lines.size())
        return;
    replaceLine(i, cp1252::encode(text));
}

QStringList TableStore::lines() const
{
    QStringList out;
    for (size_t i = 0; i < m_lines.size(); ++i)
        out << cp1252::decode(bytes(int(i)));
    return out;
}

void TableStore::grow()
{
    m_lines.push_back(ownLine({}));
}

bool TableStore::fieldBytes(QByteArrayView line, int position, bool closed, QByteArrayView &out)
{
    const char *d = line.data();
    const qsizetype n = line.size();
    const qsizetype start = afterTabs(d, n, position - 1);
    if (start < 0)
        return false;
    const qsizetype next = afterTabs(d + start, n - start, 1);
    if (next < 0 && closed)
        return false;
    out = line.sliced(start, next < 0 ? n - start : next - 1);
    return true;
}

bool TableStore::field(int i, int position, QString &out) const
{
    QByteArrayView f;
    if (i < 0 || size_t(i) >= m_lines.size() || !fieldBytes(bytes(i), position, false, f))
        return false;
    out = cp1252::decode(f);
    return true;
}

int TableStore::findField(int position, QStringView prefix, int from, int step, bool closed) const
{
    QByteArray pre;
    if (!isOpen() || step == 0 || !cp1252::encodeExact(prefix, pre))
        return 0;
    const int last = recordCount();
    for (int i = from; i >= 1 && i <= last; i += step) {
        QByteArrayView f;
        if (fieldBytes(bytes(i), position, closed, f) && f.startsWith(pre))
            return i;
    }
    return 0;
}

QString TableStore::headerLine() const
{
    return commune + record::Tab + sources + record::Tab + people + record::Tab + parishList;
}

QStringList TableStore::parishNames() const { return splitParishList(parishList); }

void TableStore::setParishNames(const QStringList &names) { parishList = names.join(record::Nbsp); }

bool TableStore::save(const QString &path) { return saveReporting(path).written; }

TableStore::SaveReport TableStore::saveReporting(const QString &path)
{
    SaveReport report;
    if (m_lines.empty() || path.isEmpty()) {
        report.reason = QStringLiteral("aucune table ouverte");
        return report;
    }
    if (QFileInfo(path).isFile()) {
        const QString backup = backupPath();
        if (QFileInfo(path).absoluteFilePath() != QFileInfo(backup).absoluteFilePath()) {
            // The backup is a convenience: when it cannot be made the table is still written.
            QFile earlier(backup);
            if (QFileInfo(backup).isDir()) {
                report.backupMade = false;
                report.reason = QStringLiteral("c'est un dossier");
            } else if (earlier.exists() && !earlier.remove()) {
                report.backupMade = false;
                report.reason = earlier.errorString();
            } else if (QString why; !backupFile(path, backup, why)) {
                report.backupMade = false;
                report.reason = why;
            }
        }
    }
    // Line 0 from the header fields; a header as read stays part of its run.
    const QByteArray header = cp1252::encode(headerLine());
    if (bytes(0) != QByteArrayView(header))
        replaceLine(0, header);
    QString error;
    report.written = writeStore(path, m_lines.size() - 1, &error);
    if (!report.written)
        report.reason = error;
    return report;
}

bool TableStore::writeStore(const QString &path, size_t count, QString *error) const
{
    BlockWriter w(path);
    if (!w.open(error))
        return false;
    // Lines still lying one after another in the buffer as read, each followed by its
    // CR LF, are written as one run of bytes.
    const char *base = m_bytes.constData();
    const qsizetype total = m_bytes.size();
    qsizetype runStart = -1, runEnd = -1;
    const auto endRun = [&] {
        if (runStart >= 0)
            w.put(QByteArrayView(base + runStart, runEnd - runStart));
        runStart = -1;
    };
    for (size_t i = 0; i < count; ++i) {
        const Line &l = m_lines[i];
        if (l.offset < 0) {
            endRun();
            w.put(l.own);
            w.put("\r\n");
            continue;
        }
        if (runStart < 0 || l.offset != runEnd) {
            endRun();
            runStart = l.offset;
        }
        runEnd = l.offset + l.size;
        if (runEnd + 2 <= total && base[runEnd] == '\r' && base[runEnd + 1] == '\n') {
            runEnd += 2;
        } else {
            endRun();
            w.put("\r\n");
        }
    }
    endRun();
    return w.commit(error);
}

bool TableStore::deleteRecord(int k)
{
    if (k < 1 || k > recordCount())
        return false;
    m_lines.erase(m_lines.begin() + k);
    changed();
    return true;
}

void TableStore::setContent(const QStringList &lines, const QString &path)
{
    QByteArray bytes;
    std::vector<Line> v;
    for (const QString &text : lines) {
        const qsizetype at = bytes.size();
        cp1252::encodeAppend(text, bytes);
        v.push_back(Line{{}, at, bytes.size() - at});
    }
    if (v.empty())
        v.push_back(Line{});
    v.push_back(Line{}); // the spare slot
    adopt(std::move(bytes), std::move(v));
    splitHeader(line(0), commune, sources, people, parishList);
    m_tablePath = path;
}

QString ScratchClock::elapsedText(QTime from, QTime to)
{
    int secs = std::abs(from.secsTo(to));
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600, 2, 10, QLatin1Char('0'))
        .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

bool ScratchClock::tick(QTime now, bool managerVisible)
{
    latestTick = now;
    if (managerVisible)
        return false;
    if (elapsedText(lastSave, latestTick) > QStringLiteral("00:02:00")) {
        lastSave = latestTick;
        return true;
    }
    return false;
}
