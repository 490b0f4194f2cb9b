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

// The same over a content given block by block; a splitter serves one content.
class Splitter {
public:
    // Line ends known beforehand (endsOf the whole content).
    explicit Splitter(Ends ends) : m_ends(ends), m_known(true) {}
    // Line ends not known: CR ends lines, and a content that turns out to hold no CR
    // at all is split at its LFs when it is finished (it is held until then).
    Splitter() = default;

    // Hands piece(QByteArrayView text, bool ended) the text of the lines of this
    // block in order, without holding anything: a line cut between blocks comes in
    // several pieces, the last one with ended true. False once piece() returned false.
    template <class F>
    bool feedPieces(QByteArrayView block, F &&piece)
    {
        const char *d = block.data();
        const qsizetype n = block.size();
        const char mark = m_ends == Ends::Cr ? '\r' : '\n';
        if (n == 0)
            return true;
        qsizetype start = m_afterCr && d[0] == '\n' ? 1 : 0;
        m_afterCr = false;
        while (start < n) {
            const char *end = static_cast<const char *>(std::memchr(d + start, mark, size_t(n - start)));
            if (!end) {
                m_open = true;
                return piece(QByteArrayView(d + start, n - start), false);
            }
            m_open = false;
            m_ended = true;
            if (!piece(QByteArrayView(d + start, end - d - start), true))
                return false;
            start = end - d + 1;
            if (mark == '\r') {
                if (start == n)
                    m_afterCr = true; // its LF may open the next block
                else if (d[start] == '\n')
                    ++start;
            }
        }
        return true;
    }

    // Ends the last line when the content did not end with a line end.
    template <class F>
    bool finishPieces(F &&piece)
    {
        return !m_open || piece(QByteArrayView(), true);
    }

    // Hands line(QByteArrayView) every line ended by this block; false once line()
    // returned false.
    template <class F>
    bool feed(QByteArrayView block, F &&line)
    {
        return feedPieces(block, [this, &line](QByteArrayView text, bool ended) {
            if (!ended) {
                m_pending.append(text);
                return true;
            }
            if (m_pending.isEmpty())
                return line(text);
            m_pending.append(text);
            const bool go = line(QByteArrayView(m_pending));
            m_pending.clear();
            return go;
        });
    }

    // Hands line() the last line when the content did not end with a line end.
    template <class F>
    bool finish(F &&line)
    {
        if (!m_known && !m_ended) {
            // No line ended at a CR: the content holds none, its lines end at LF.
            Splitter lf(Ends::Lf);
            return lf.feed(QByteArrayView(m_pending), line) && lf.finish(line);
        }
        return !m_open || line(QByteArrayView(m_pending));
    }

private:
    QByteArray m_pending;    // the start of a line cut at the end of a block
    Ends m_ends = Ends::Cr;
    bool m_known = false;    // the line ends were given
    bool m_afterCr = false;  // the last block ended with a CR
    bool m_open = false;     // a line has begun and not ended
    bool m_ended = false;    // a line has ended since the start
};

// Every line of a whole content, as views into it; false once line() returned false.
template <class F>
bool forEachLine(QByteArrayView bytes, F &&line)
{
    Splitter splitter(endsOf(bytes));
    QByteArrayView last;
    const bool go = splitter.feedPieces(bytes, [&](QByteArrayView text, bool ended) {
        if (ended)
            return line(text);
        last = text;
        return true;
    });
    return go && (last.isEmpty() || line(last));
}

} // namespace lineends
