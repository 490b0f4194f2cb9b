#include "store/cp1252.h"

#include <array>

namespace cp1252 {

namespace {

// 0x80..0x9F; unassigned bytes map to the C1 control of the same value.
constexpr char16_t kHigh[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byteOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < std::size(kHigh); ++i)
        if (kHigh[i] == u)
            return int(0x80 + i);
    return -1;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    // Latin-1 widening is vectorised by Qt; only 0x80..0x9F differ in Windows-1252.
    QString out = QString::fromLatin1(bytes);
    for (QChar &c : out) {
        if ((c.unicode() & 0xFFE0) == 0x80)
            c = QChar(kHigh[c.unicode() - 0x80]);
    }
    return out;
}

void encodeAppend(QStringView text, QByteArray &out)
{
    const qsizetype base = out.size();
    out.resize(base + text.size());
    char *d = out.data() + base;
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    bool special = false;
    for (qsizetype i = 0; i < n; ++i) {
        d[i] = char(s[i]);
        special |= (s[i] >= 0x80 && s[i] < 0xA0) || s[i] > 0xFF;
    }
    if (!special)
        return;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if ((u >= 0x80 && u < 0xA0) || u > 0xFF) {
            const int b = byteOf(u);
            d[i] = b == -1 ? '?' : char(b);
        }
    }
}

bool encodeExact(QStringView text, QByteArray &out)
{
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteOf(text[i].unicode());
        if (b == -1)
            return false;
        out[i] = char(b);
    }
    return true;
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    encodeAppend(text, out);
    return out;
}

bool representable(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D)
        return false;
    return byteOf(u) >= 0;
}

bool fieldChar(QChar c)
{
    return c.unicode() >= 0x20 && c.unicode() != 0x7F && representable(c);
}

QString cleanForField(const QString &text, bool *refused)
{
    QString out;
    bool bad = false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        if (!representable(c)) {
            bad = true;
            continue;
        }
        out += c;
    }
    if (refused)
        *refused = bad;
    return out;
}

QChar upper(QChar c)
{
    const QChar u = c.toUpper();
    return representable(u) ? u : c;
}

QChar lower(QChar c)
{
    return c.toLower();   // every capital of Windows-1252 has its small letter there
}

QString upper(const QString &s)
{
    QString out = s;
    for (auto &c : out)
        c = upper(c);
    return out;
}

QString lower(const QString &s)
{
    QString out = s;
    for (auto &c : out)
        c = lower(c);
    return out;
}

} // namespace cp1252
