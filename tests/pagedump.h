#pragma once
// A drawn page as text, to compare with a page written by hand under tests/data/.
#include "print/pagedoc.h"

#include "testutil.h"
#include <QTest>

namespace pagedump {
// Every character 100 twips wide (or as given), whatever the font: positions can be worked out by hand.
class CharMeasure : public print::TextMeasure {
public:
    explicit CharMeasure(double each = 100) : m_each(each) {}
    double width(const QString &text, const print::Font &) const override { return m_each * text.size(); }
    double m_each;
};
inline QString number(double v) { return QString::number(v, 'g', 10); }
// One drawn item a line, sorted (the order of drawing is not seen on paper): "T x y <points><b,i,u> [text]",
// "@family" after the style when it is not Arial; "L x1 y1 x2 y2", the smaller end first (nor is a line's direction).
inline QStringList dump(const print::Page &p)
{
    QStringList out;
    for (const auto &t : p.texts) {
        const QString style = QString(t.font.bold ? "b" : "") + (t.font.italic ? "i" : "") + (t.font.underline ? "u" : "")
                              + (t.font.family != u"Arial" ? u'@' + t.font.family : QString());
        out << QStringLiteral("T %1 %2 %3%4 [%5]").arg(number(t.x), number(t.y), number(t.font.size), style, t.text);
    }
    for (const auto &l : p.lines) {
        const bool swap = std::pair(l.x2, l.y2) < std::pair(l.x1, l.y1);
        out << QStringLiteral("L %1 %2 %3 %4").arg(number(swap ? l.x2 : l.x1), number(swap ? l.y2 : l.y1),
                                                   number(swap ? l.x1 : l.x2), number(swap ? l.y1 : l.y2));
    }
    out.sort();
    return out;
}
// The lines of a file of tests/data/, without comments and blank lines, sorted.
inline QStringList expected(const QString &name)
{
    QStringList out = testutil::dataLines(name);
    out.sort();
    return out;
}
// Compares and names every line missing or extra, so that one failure says it all.
inline bool same(const QStringList &actual, const QStringList &wanted)
{
    for (const auto &l : wanted)
        if (!actual.contains(l))
            qWarning("missing: %s", qPrintable(l));
    for (const auto &l : actual)
        if (!wanted.contains(l))
            qWarning("extra:   %s", qPrintable(l));
    return actual == wanted;
}
} // namespace pagedump
