#include "store/utf8check.h"

#include <QFile>

namespace utf8check {

void Check::feed(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size() && !decided(); ++i, ++m_seen) {
        const auto b = uchar(bytes[i]);
        if (m_bomSoFar) {
            // The byte order mark EF BB BF, checked as it comes: once whole, the check has decided.
            static constexpr uchar Bom[3] = {0xEF, 0xBB, 0xBF};
            m_bomSoFar = b == Bom[m_seen];
            m_bom = m_bomSoFar && m_seen == 2;
        }
        if (m_need > 0) {
            if ((b & 0xC0) != 0x80) {
                m_bad = true;
                return;
            }
            if (--m_need == 0)
                m_multi = true;
            continue;
        }
        if (b < 0x80)
            continue;
        if (b >= 0xC2 && b <= 0xDF)
            m_need = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            m_need = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            m_need = 3;
        else
            m_bad = true;
    }
}

bool looksLikeUtf8(QByteArrayView content)
{
    Check c;
    c.feed(content);
    return c.looksLikeUtf8();
}

bool fileLooksLikeUtf8(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Check c;
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (qint64 got; !c.decided() && (got = f.read(block.data(), block.size())) > 0;)
        c.feed(QByteArrayView(block.constData(), got));
    return c.looksLikeUtf8();
}

} // namespace utf8check
