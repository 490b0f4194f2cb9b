#include "store/transfer.h"

using namespace record;

DateBoxes DateBoxes::gregorianReset()
{
    return DateBoxes{};
}

DateBoxes DateBoxes::forLayout(bool republican)
{
    DateBoxes d;
    d.monthMaxLength = republican ? 4 : 2;
    d.monthWidth = republican ? 470 : 300;
    d.yearMaxLength = republican ? 2 : 4;
    d.yearWidth = republican ? 300 : 470;
    d.yearLeft = MonthLeft + d.monthWidth + 120;   // the year box follows the month's width
    d.slashLeft = d.yearLeft - 105;
    return d;
}

namespace {

QString lineFrom(const EntryState &s, const QString &date)
{
    QStringList f;
    for (int p = 1; p <= FieldCount; ++p) {
        const Place &w = field(p).place;
        switch (w.holder) {
        case Holder::TextBox: f << s.txt[w.index]; break;
        case Holder::Parish: f << s.parish; break;
        case Holder::ActCode: f << actCodeForLabel(s.actLabel); break;
        case Holder::Date: f << date; break;
        case Holder::Dispense: f << QString::number(s.dispense ? 1 : 0); break;
        case Holder::Group:
            // A group string carries its own inner TABs: it stands for all its fields.
            if (w.item == 1)
                f << s.groups[w.index];
            break;
        }
    }
    return f.join(Tab);
}

QString pair(const QStringList &f, int a, int b) { return f[a - 1] + Nbsp + f[b - 1]; }

} // namespace

namespace transfer {

QString buildLine(EntryState &s)
{
    QString date;
    if (!(s.txt[3].isEmpty() && s.txt[4].isEmpty() && s.txt[5].isEmpty())) {
        s.txt[3] = padDatePart(s.txt[3], s.dayMaxLength);
        s.txt[4] = padDatePart(s.txt[4], s.date.monthMaxLength);
        s.txt[5] = padDatePart(s.txt[5], s.date.yearMaxLength);
        date = s.txt[3] + u'/' + s.txt[4] + u'/' + s.txt[5];
    }
    // A father typed with the spouse's surname and no first names is not a father.
    if (s.txt[10] == s.txt[6] && s.txt[11].isEmpty())
        s.txt[10].clear();
    if (s.txt[22] == s.txt[18] && s.txt[23].isEmpty())
        s.txt[22].clear();
    return lineFrom(s, date);
}

void showNewRecord(EntryState &s)
{
    for (int i = 2; i < TxtCount; ++i)
        s.txt[i].clear();
    s.date = DateBoxes::gregorianReset();
    s.dispense = false;
    for (int g = 0; g < GroupCount; ++g)
        s.groups[g] = emptyGroup(g);
    s.groups[17].clear();
    s.actLabel = actLabels().first();
}

bool showLine(const QString &line, EntryState &s)
{
    QStringList f;
    if (!splitFields(line, f))
        return false;
    const QString &date = f[4];
    QString day, month, year;
    if (!date.isEmpty()) {
        const qsizetype a = date.indexOf(u'/');
        const qsizetype b = a < 0 ? -1 : date.indexOf(u'/', a + 1);
        if (b < 0)
            return false;
        day = date.left(a);
        month = date.mid(a + 1, b - a - 1);
        year = date.mid(b + 1);
    }
    for (int p = 1; p <= FieldCount; ++p) {
        const Place &w = field(p).place;
        const QString &v = f[p - 1];
        switch (w.holder) {
        case Holder::TextBox: s.txt[w.index] = v; break;
        case Holder::Parish: s.parish = v; break;
        case Holder::ActCode: {
            // An unknown code shows an empty act type, which stores back as empty.
            s.actLabel = actLabelForCode(v);
            break;
        }
        case Holder::Date: break;
        case Holder::Dispense: s.dispense = v.toInt() == 1; break;
        case Holder::Group:
            if (w.item == 1) {
                QStringList items = f.mid(p - 1, groupSize(w.index));
                s.groups[w.index] = items.join(Tab);
            }
            break;
        }
    }
    s.txt[3] = day;
    s.txt[4] = month;
    s.txt[5] = year;
    if (!date.isEmpty())
        s.date = DateBoxes::forLayout(month.size() > 2);
    return true;
}

Result show(TableStore &table, EntryState &s, int mode, int target)
{
    const int upper = table.upperIndex();
    int number = s.recordNumber.toInt();
    switch (mode) {
    case Next: ++number; break;   // no further than the new record: see below
    case End: {
        number = upper;
        const QString &last = table.line(upper - 1);
        s.txt[0] = fieldOf(last, 1);
        // In a table without records the line before is the header: its first field
        // is the commune, a fair place, but its second holds the sources, no parish.
        s.parish = upper - 1 >= 1 ? fieldOf(last, 2) : QString();
        break;
    }
    case Previous: --number; break;   // no further back than the first: see below
    case First: number = 1; break;
    case Typed:
    case Found: number = target; break;
    case StoreOnly: return Result::Ok;
    default: return Result::Ok;
    }
    number = qMin(qMax(number, 1), upper);
    s.recordNumber = QString::number(number);

    if (number == upper)
        showNewRecord(s);
    else if (!showLine(table.line(number), s))
        return Result::Incompatible;

    if (mode >= Next && mode <= First) {
        s.focusActe = true;
        if (number < 2) {
            for (auto &l : s.previous)
                l.clear();
            s.previousNumber.clear();
        } else {
            QStringList f;
            if (!splitFields(table.line(number - 1), f))
                return Result::Incompatible;
            s.previous[0] = f[4];
            s.previous[1] = pair(f, 7, 8);
            s.previous[2] = f[8];
            s.previous[3] = pair(f, 17, 18);
            s.previous[4] = pair(f, 28, 29);
            s.previous[5] = pair(f, 57, 58);
            s.previous[6] = f[58];
            s.previous[7] = pair(f, 67, 68);
            s.previous[8] = pair(f, 78, 79);
            s.previousNumber = QString::number(number - 1);
        }
    }
    return Result::Ok;
}

Result store(TableStore &table, EntryState &s, int mode, int target)
{
    if (!s.recordNumber.isEmpty() && !(s.txt[6].isEmpty() && s.txt[18].isEmpty())) {
        int number = s.recordNumber.toInt();
        if (number == table.upperIndex())
            table.grow();
        s.count = QString::number(table.upperIndex());
        const QString line = buildLine(s);
        if (number >= 1 && number < table.upperIndex())
            table.setLine(number, line);
    }
    s.count = QString::number(table.upperIndex());
    return show(table, s, mode, target);
}

} // namespace transfer
