#pragma once
// Where a line of a table (or of a file to import or export) ends. A file written
// on Windows holds CRs: there a line ends at CR LF or at a lone CR, and a lone LF
// is text of the line (a note typed over two lines elsewhere stays one record).
// Only a file with no CR at all, written on another system, has its lines ended by
// LF. A line end at the very end of the bytes opens no further line. Files are read
// in blocks, so a line, or a CR LF, may be cut between two blocks. Every search
// moves forward only: splitting is linear in the size of the file.
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <cstring>

namespace lineends {

enum class Ends {
    Cr,   // the content holds a CR: CR LF or a lone CR ends a line
    Lf,   // no CR anywhere: LF ends a line
};

// The line ends of a whole content.
inline Ends endsOf(QByteArrayView whole)
{
    return std::memchr(whole.data(), '\r', size_t(whole.size())) ? Ends::Cr : Ends::Lf;
}

// The line ends of a device's content from its current position on; the position
// is put back. Stops at the first CR, so a Windows file costs one short read.
inline Ends endsOf(QIODevice &device)
{
    const qint64 from = device.pos();
    Ends ends = Ends::Lf;
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (qint64 got; (got = device.read(block.data(), block.size())) > 0;) {
        if (std::memchr(block.constData(), '\r', size_t(got))) {
            ends = Ends::Cr;
            break;
        }
    }
    device.seek(from);
    return ends;
}

// Hands line(QByteArrayView) every line ended inside `bytes` and returns where the
// unended rest starts, or -1 once line() returned false. `crLast` tells whether the
// bytes end with a CR, whose LF may open the next block.
template <class F>
qsizetype scan(QByteArrayView bytes, F &&line, bool &crLast, Ends ends)
{
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    const char mark = ends == Ends::Cr ? '\r' : '\n';
    qsizetype start = 0;
    crLast = false;
    while (start < n) {
        const char *end = static_cast<const char *>(std::memchr(d + start, mark, size_t(n - start)));
        if (!end)
            break;
        if (!line(QByteArrayView(d + start, end - d - start)))
            return -1;
        start = end - d + 1;
        if (mark == '\r') {
            if (start < n) {
                if (d[start] == '\n')
                    ++start;
            } else {
                crLast = true;
            }
        }
    }
    return start;
}

// Every line of a whole content, as views into it; false once line() returned false.
template <class F>
bool forEachLine(QByteArrayView bytes, F &&line)
{
    bool crLast = false;
    const qsizetype rest = scan(bytes, line, crLast, endsOf(bytes));
    if (rest < 0)
        return false;
    return rest == bytes.size() || line(bytes.sliced(rest));
}

// The same over a content given block by block.
class Splitter {
public:
    // Line ends known beforehand (endsOf the whole content).
    explicit Splitter(Ends ends) : m_ends(ends), m_known(true) {}
    // Line ends not known: CR ends lines, and a content that turns out to hold no CR
    // at all is split at its LFs when it is finished (it is held until then).
    Splitter() = default;

    // Hands line() every line ended by this block; false once line() returned false.
    template <class F>
    bool feed(QByteArrayView block, F &&line)
    {
        if (block.isEmpty())
            return true;
        qsizetype start = m_afterCr && block.front() == '\n' ? 1 : 0;
        m_afterCr = false;
        if (!m_pending.isEmpty()) {
            // The line cut at the end of the last block ends at this block's first line end.
            const QByteArrayView rest = block.sliced(start);
            const char *end = static_cast<const char *>(std::memchr(rest.data(), mark(), size_t(rest.size())));
            if (!end) {
                m_pending.append(rest);
                return true;
            }
            m_pending.append(rest.data(), end - rest.data());
            if (!line(QByteArrayView(m_pending)))
                return false;
            m_pending.clear();
            m_ended = true;
            start += end - rest.data() + 1;
            if (m_ends == Ends::Cr) {
                if (start == block.size()) {
                    m_afterCr = true;
                    return true;
                }
                if (block[start] == '\n')
                    ++start;
            }
        }
        const QByteArrayView rest = block.sliced(start);
        bool crLast = false;
        const qsizetype unended = scan(rest, line, crLast, m_ends);
        if (unended < 0)
            return false;
        m_afterCr = crLast;
        m_ended = m_ended || unended > 0;
        m_pending.append(rest.sliced(unended));
        return true;
    }

    // Hands line() the last line when the content did not end with a line end.
    template <class F>
    bool finish(F &&line)
    {
        bool ok = true;
        if (!m_known && !m_ended) {
            // No line ended at a CR: the content holds none, its lines end at LF.
            ok = forEachLine(QByteArrayView(m_pending), line);
        } else if (!m_pending.isEmpty()) {
            ok = line(QByteArrayView(m_pending));
        }
        m_pending.clear();
        m_afterCr = false;
        m_ended = false;
        return ok;
    }

private:
    char mark() const { return m_ends == Ends::Cr ? '\r' : '\n'; }

    QByteArray m_pending;    // the start of a line cut at the end of a block
    Ends m_ends = Ends::Cr;
    bool m_known = false;    // the line ends were given
    bool m_afterCr = false;  // the last block ended with a CR
    bool m_ended = false;    // a line has ended since the start
};

} // namespace lineends
