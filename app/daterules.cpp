#include "app/daterules.h"

#include "store/cp1252.h"

namespace daterules {

using fieldrules::Box;
using fieldrules::Focus;
using fieldrules::Result;
namespace box = fieldrules::box;

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The value of a would-be box text as a number. Leading "." are the padding a
// stored date puts before a short part; anything else that is not a digit makes
// the text no number at all.
std::optional<qint64> numberOf(const QString &v)
{
    qsizetype i = 0;
    while (i < v.size() && v.at(i) == u'.')
        ++i;
    qint64 value = 0;
    for (; i < v.size(); ++i) {
        if (!isDigit(v.at(i)))
            return std::nullopt;
        value = std::min<qint64>(value * 10 + (v.at(i).unicode() - u'0'), 1'000'000'000);
    }
    return value;
}

Result refused(const Box &b, bool beep)
{
    Result r;
    r.box = b;
    r.beep = beep;
    return r;
}

} // namespace

const QString FormatHelp =
    QStringLiteral("Format date: 03/05/1815 (Calendrier Grégorien); 15/brum/04 (Calendrier Républicain)");

const QStringList &republicanMonths()
{
    static const QStringList months{QStringLiteral("Brum"), QStringLiteral("Comp"), QStringLiteral("Flor"), QStringLiteral("Frim"), QStringLiteral("Fruc"),
                                    QStringLiteral("Germ"), QStringLiteral("Mess"), QStringLiteral("Nivo"), QStringLiteral("Pluv"), QStringLiteral("Prai"),
                                    QStringLiteral("Ther"), QStringLiteral("Vend"), QStringLiteral("Vent")};
    return months;
}

DateBoxes designed()
{
    DateBoxes d;               // designed positions and widths: only the limits differ
    d.monthMaxLength = 4;
    d.yearMaxLength = 0;
    return d;
}

DateBoxes gregorian() { return DateBoxes::forLayout(false); }
DateBoxes republican() { return DateBoxes::forLayout(true); }

std::optional<QString> completeMonth(const QString &prefix)
{
    for (const QString &m : republicanMonths())
        if (m.startsWith(prefix))
            return m;
    return std::nullopt;
}

Result keyPress(int index, const Box &b, QChar key, const DateBoxes &date)
{
    const int p = b.caret;
    Result r;
    r.box = b;
    r.key = key;
    if (key < QChar(u'0')) {
        r.key = QChar();
        return r;
    }

    const bool republicanLimits = date.monthMaxLength == 4;
    const QString v = b.text.left(p) + key + b.text.mid(p + b.selLength);
    const auto value = numberOf(v);
    switch (index) {
    case box::Day:
        // A letter in the day or the year is refused like a day out of range.
        if (!value || *value > (republicanLimits ? 30 : 31))
            return refused(b, true);
        break;
    case box::Year:
        if (!value || *value > (republicanLimits ? 14 : 1990))
            return refused(b, true);
        break;
    case box::Month:
        if (!republicanLimits && isDigit(key) && value && *value > 12)
            return refused(b, true);
        break;
    default:
        break;
    }
    if (index != box::Month)
        return r;

    bool republicanNow = republicanLimits;
    if (republicanNow && isDigit(key) && b.text.isEmpty()) {
        r.layout = gregorian();
        republicanNow = false;
    }
    if (republicanNow && isDigit(key))
        return refused(b, false);   // a Republican month takes no digits
    if (key.unicode() >= 58) {
        const QChar k = p == 0 ? fieldrules::upperKey(key) : fieldrules::lowerKey(key);
        const QString prefix = b.text.left(p) + k;
        r.key = QChar();
        if (auto month = completeMonth(prefix)) {
            r.layout = republican();
            r.box = fieldrules::completion(*month, p + 1);
        }
    }
    return r;
}

Result keyUp(int index, const Box &b, const DateBoxes &date)
{
    Result r;
    r.box = b;
    if (b.caret == fieldrules::maxLength(index, date)) {   // the box is full
        switch (index) {
        case box::Day: r.focus = Focus::Month; break;
        case box::Month: r.focus = Focus::Year; break;
        case box::Year: r.focus = Focus::Dispense; break;
        default: break;
        }
    }
    return r;
}

Result gotFocus(const Box &b)
{
    Result r;
    r.help = FormatHelp;
    r.align = fieldrules::Align::Right;
    r.box = {b.text, 0, int(b.text.size())};
    return r;
}

Result lostFocus(int index, const Box &b, const DateBoxes &date)
{
    Result r;
    QString t = b.text;
    DateBoxes now = date;
    // An abbreviation cut short by deletions is no month: back to the Gregorian layout.
    if (index == box::Month && date.monthMaxLength == 4 && t.size() >= 1 && t.size() <= 3) {
        t.clear();
        now = gregorian();
        r.layout = now;
    }
    if (!t.isEmpty()) {
        const int limit = fieldrules::maxLength(index, now);
        if (t.size() < limit)
            t = QString(limit - t.size(), u'0') + t;
        t = fieldrules::upperKey(t.at(0)) + cp1252::lower(t.mid(1));
    }
    r.box = t == b.text ? b : Box{t};
    r.align = fieldrules::Align::Center;
    r.help = QString();
    return r;
}

} // namespace daterules
