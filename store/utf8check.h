#pragma once
// Tables are Windows-1252. A table saved as UTF-8 by another program still opens
// (its bytes are kept as they are), but its accents show as two odd characters
// each: it is recognised here so that the user can be told.
#include <QByteArrayView>
#include <QString>

namespace utf8check {

// Reads a content piece by piece: it looks like UTF-8 when it starts with the
// UTF-8 byte order mark, or when it holds at least one multi-byte UTF-8 sequence
// and no byte that UTF-8 forbids where it stands. A Windows-1252 accent followed
// by a plain letter is such a byte, so a table of ours is told apart at its first
// accent; a content of plain ASCII is no UTF-8 for this purpose.
class Check {
public:
    void feed(QByteArrayView bytes);
    bool decided() const { return m_bad || m_bom; }   // nothing more can change it
    bool looksLikeUtf8() const { return m_bom || (!m_bad && m_need == 0 && m_multi); }

private:
    qint64 m_seen = 0;   // bytes fed so far
    int m_need = 0;      // continuation bytes still expected
    bool m_multi = false, m_bad = false, m_bom = false;
    bool m_bomSoFar = true;   // the bytes so far are the start of the byte order mark
};

bool looksLikeUtf8(QByteArrayView content);
// The same over a file, read until its kind is known; false when it cannot be read.
bool fileLooksLikeUtf8(const QString &path);

} // namespace utf8check
