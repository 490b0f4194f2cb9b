#pragma once
// Where a line of a table (or of a file to import) ends: at CR LF, a lone CR or a
// lone LF; a line end at the very end of the bytes opens no further line. Files are
// read in blocks, so a line, or a CR LF, may be cut between two blocks.
#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

namespace lineends {

// Hands line(QByteArrayView) every line ended inside `bytes` and returns where the
// unended rest starts, or -1 once line() returned false. `crLast` tells whether the
// bytes end with a CR, whose LF may open the next block.
template <class F>
qsizetype scan(QByteArrayView bytes, F &&line, bool &crLast)
{
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    crLast = false;
    while (start < n) {
        const char *cr = static_cast<const char *>(std::memchr(d + start, '\r', size_t(n - start)));
        const char *lf = static_cast<const char *>(std::memchr(d + start, '\n', size_t((cr ? cr - d : n) - start)));
        const char *end = lf ? lf : cr;
        if (!end)
            break;
        if (!line(QByteArrayView(d + start, end - d - start)))
            return -1;
        start = end - d + 1;
        if (*end == '\r') {
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
    const qsizetype rest = scan(bytes, line, crLast);
    if (rest < 0)
        return false;
    return rest == bytes.size() || line(bytes.sliced(rest));
}

// The same over a content given block by block.
class Splitter {
public:
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
            qsizetype end = start;
            while (end < block.size() && block[end] != '\r' && block[end] != '\n')
                ++end;
            m_pending.append(block.sliced(start, end - start));
            if (end == block.size())
                return true;
            if (!line(QByteArrayView(m_pending)))
                return false;
            m_pending.clear();
            start = end + 1;
            if (block[end] == '\r') {
                if (start < block.size()) {
                    if (block[start] == '\n')
                        ++start;
                } else {
                    m_afterCr = true;
                }
            }
        }
        const QByteArrayView rest = block.sliced(start);
        bool crLast = false;
        const qsizetype unended = scan(rest, line, crLast);
        if (unended < 0)
            return false;
        m_afterCr = m_afterCr || crLast;
        m_pending.append(rest.sliced(unended));
        return true;
    }

    // Hands line() the last line when the content did not end with a line end.
    template <class F>
    bool finish(F &&line)
    {
        const bool ok = m_pending.isEmpty() || line(QByteArrayView(m_pending));
        m_pending.clear();
        m_afterCr = false;
        return ok;
    }

private:
    QByteArray m_pending; // the start of a line cut at the end of a block
    bool m_afterCr = false; // the last block ended with a CR
};

} // namespace lineends
