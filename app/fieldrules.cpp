#include "app/fieldrules.h"

#include "app/daterules.h"
#include "app/parishentry.h"
#include "store/cp1252.h"
#include "store/fieldcolumn.h"
#include "store/tablestore.h"

#include <algorithm>
#include <array>

namespace fieldrules {

namespace {

using enum Rule;
constexpr Align L = Align::Left, C = Align::Center, R = Align::Right;

// Txt(0)..Txt(30): maximum length (0 none), alignment, entry rule.
constexpr std::array<BoxInfo, record::TxtCount> kBoxes{{
    {0, L, InitialCapitals},   //  0 Lieu
    {0, L, None},              //  1 Paroisse (under CmbParoisse)
    {0, L, Capitals},          //  2 Cote
    {2, C, Date},              //  3 day
    {4, C, Date},              //  4 month
    {0, R, Date},              //  5 year
    {0, L, Capitals},          //  6 Nom EPX
    {0, L, InitialCapitals},   //  7 Prenom EPX
    {0, L, InitialCapitals},   //  8 Org EPX
    {2, C, PlaceCode},         //  9 Code Org EPX
    {0, L, Capitals},          // 10 Nom PEPX
    {0, L, InitialCapitals},   // 11 Prenom PEPX
    {1, C, EventMarker},       // 12 Evnt PEPX
    {0, L, Capitals},          // 13 Nom MEPX
    {0, L, InitialCapitals},   // 14 Prenom MEPX
    {1, C, EventMarker},       // 15 Evnt MEPX
    {0, L, Capitals},          // 16 Nom EXEPX1
    {0, L, InitialCapitals},   // 17 Prenom EXEPX1
    {0, L, Capitals},          // 18 Nom EPSE
    {0, L, InitialCapitals},   // 19 Prenom EPSE
    {0, L, InitialCapitals},   // 20 Org EPSE
    {2, C, PlaceCode},         // 21 Code Org EPSE
    {0, L, Capitals},          // 22 Nom PEPSE
    {0, L, InitialCapitals},   // 23 Prenom PEPSE
    {1, C, EventMarker},       // 24 Evnt PEPSE
    {0, L, Capitals},          // 25 Nom MEPSE
    {0, L, InitialCapitals},   // 26 Prenom MEPSE
    {1, C, EventMarker},       // 27 Evnt MEPSE
    {0, L, Capitals},          // 28 Nom EXEPSE1
    {0, L, InitialCapitals},   // 29 Prenom EXEPSE1
    {0, L, None},              // 30 Notes
}};

Box clamped(const Box &b)
{
    Box c = b;
    const int n = int(c.text.size());
    c.caret = std::clamp(c.caret, 0, n);
    c.selLength = std::clamp(c.selLength, 0, n - c.caret);
    return c;
}

bool isSurnameWithCopy(int index) { return index == box::HusbandSurname || index == box::WifeSurname; }
// The father of a spouse sits four boxes further on.
int fatherOf(int spouse) { return spouse + 4; }

bool sameIgnoringCase(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Start of the word before the caret: blanks first, then the word itself.
int wordStart(const QString &t, int p)
{
    QStringView v = QStringView(t).left(p);
    while (v.endsWith(u' '))
        v.chop(1);
    return int(v.lastIndexOf(u' ')) + 1;
}

void initialCapitals(int index, const Box &b, QChar k, const Context &ctx, Result &r)
{
    const int p = b.caret;
    QString t = b.text;
    k = parish::initialCapitalCase(t, p, k);   // the parish box's rules, "d'Orléans" included
    if (k == u'\'' && p >= 1) {
        parish::lowerElidedD(t, p);
        r.box = {t, p, 0};
    }
    r.key = k;

    if (index == box::HusbandOrigin || index == box::WifeOrigin) {
        const TableStore *table = ctx.table();
        if (!table)
            return;
        if (auto proposal = originProposal(*table, index, r.box.text.left(p) + k)) {
            r.box = completion(*proposal, p + 1);
            r.key = QChar();
        }
    }
}

void capitals(int index, const Box &b, QChar k, const Context &ctx, Result &r)
{
    const int p = b.caret;
    k = upperKey(k);
    if ((k == u' ' || k == u'\'') && !b.text.isEmpty())
        r.box = {lowerParticles(b.text, p), p, 0};
    r.key = k;

    if (isSurnameWithCopy(index)) {
        const int father = fatherOf(index);
        if (sameIgnoringCase(ctx.boxText(father), b.text))
            r.others.append({father, insertKey(r.box, k).text});
    }
}

void placeCode(const Box &b, QChar k, Result &r)
{
    if (isDigit(k))
        return;
    const bool letter = k == u'A' || k == u'a' || k == u'B' || k == u'b';
    const bool afterTwo = b.caret == 1
                          && ((b.selLength == 0 && b.text == u"2")
                              || (b.selLength == 1 && b.text.startsWith(u'2')));
    r.key = letter && afterTwo ? upperKey(k) : QChar();
}

void eventMarker(QChar k, Result &r)
{
    if (k == u'+')
        return;
    r.key = QChar();
    r.beep = true;
}

} // namespace

const QString MarkerHelp = QStringLiteral("Si la personne est décédée lors du mariage, mettre \"+\"");

const BoxInfo &boxInfo(int index)
{
    return kBoxes.at(index);
}

int maxLength(int index, const DateBoxes &date)
{
    if (index == box::Month)
        return date.monthMaxLength;
    if (index == box::Year)
        return date.yearMaxLength;
    return boxInfo(index).maxLength;
}

QChar upperKey(QChar c) { return cp1252::upper(c); }
QChar lowerKey(QChar c) { return cp1252::lower(c); }

QString lowerParticles(const QString &text, int p)
{
    QString t = text;
    // Each case below tests only patterns that fit before the caret.
    auto test = [&](QStringView pattern) {
        const int k = int(pattern.size());
        if (QStringView(t).mid(p - k, k).compare(pattern, Qt::CaseInsensitive) == 0)
            t.replace(p - k, k, pattern.toString().toLower());
    };
    switch (p) {
    case 0:
        break;
    case 1:
        test(u"D");
        break;
    case 2:
        test(u" D");
        test(u"DE");
        break;
    case 3:
        test(u" DE");
        break;
    case 4:
        test(u" DE");
        test(u"DE L");
        break;
    case 5:
        test(u" DE");
        test(u" DE L");
        test(u"DE LA");
        break;
    default:
        test(u" D");
        test(u" DE");
        test(u" DE L");
        test(u" DE LA");
        break;
    }
    return t;
}

std::optional<QString> originProposal(const TableStore &table, int index, const QString &prefix)
{
    // The entry window runs on one thread: the two columns are its own. Each key
    // compares a few bytes per record; only the lines changed since the last key are
    // read again.
    static FieldColumn husband(9), wife(59);
    FieldColumn *column = index == box::HusbandOrigin ? &husband : &wife;
    const int k = column->find(table, prefix, 1, +1);
    if (k == 0)
        return std::nullopt;
    return column->text(k);
}

Box insertKey(const Box &before, QChar key, int maxLength)
{
    Box b = clamped(before);
    const int p = b.caret, s = b.selLength;
    if (key.isNull())
        return b;
    if (key == QChar(key::Backspace) || key == QChar(key::CtrlBackspace)) {
        if (s > 0) {
            b.text.remove(p, s);
            b.caret = p;
        } else if (p > 0) {
            const int from = key == QChar(key::Backspace) ? p - 1 : wordStart(b.text, p);
            b.text.remove(from, p - from);
            b.caret = from;
        }
        b.selLength = 0;
        return b;
    }
    if (maxLength > 0 && b.text.size() - s + 1 > maxLength)
        return b;   // the box is full: the key is lost, as in any text box
    b.text = b.text.left(p) + key + b.text.mid(p + s);
    b.caret = p + 1;
    b.selLength = 0;
    return b;
}

Box applied(int index, const Result &r, const DateBoxes &date)
{
    return insertKey(r.box, r.key, maxLength(index, r.layout.value_or(date)));
}

Result gotFocus(int index, const Box &b, const Context &)
{
    Result r;
    if (boxInfo(index).rule == Rule::Date)
        r = daterules::gotFocus(b);
    else if (boxInfo(index).rule == Rule::EventMarker)
        r.help = MarkerHelp;
    r.box = {b.text, 0, int(b.text.size())};
    return r;
}

Result keyPress(int index, const Box &before, QChar k, const Context &ctx)
{
    const Box b = clamped(before);
    Result r;
    r.box = b;
    r.key = k;

    if (k == QChar(key::Enter)) {
        r.key = QChar();
        r.focus = Focus::NextControl;
        return r;
    }
    if (k == QChar(key::Backspace) || k == QChar(key::CtrlBackspace)) {
        // No rule applies; the father's surname follows the deletion.
        if (isSurnameWithCopy(index) && !b.text.isEmpty() && (b.selLength > 0 || b.caret > 0)) {
            const int father = fatherOf(index);
            if (sameIgnoringCase(ctx.boxText(father), b.text))
                r.others.append({father, insertKey(b, k).text});
        }
        return r;
    }
    if (!cp1252::fieldChar(k)) {
        // Nothing a table file cannot hold gets into a field.
        r.key = QChar();
        r.beep = true;
        return r;
    }
    switch (boxInfo(index).rule) {
    case Rule::InitialCapitals: initialCapitals(index, b, k, ctx, r); break;
    case Rule::Capitals: capitals(index, b, k, ctx, r); break;
    case Rule::Date: return daterules::keyPress(index, b, k, ctx.dateBoxes());
    case Rule::PlaceCode: placeCode(b, k, r); break;
    case Rule::EventMarker: eventMarker(k, r); break;
    case Rule::None: break;
    }
    return r;
}

Result keyUp(int index, const Box &b, const Context &ctx)
{
    if (boxInfo(index).rule == Rule::Date)
        return daterules::keyUp(index, b, ctx.dateBoxes());
    Result r;
    r.box = b;
    return r;
}

Result lostFocus(int index, const Box &b, const Context &ctx)
{
    Result r;
    if (boxInfo(index).rule == Rule::Date) {
        r = daterules::lostFocus(index, b, ctx.dateBoxes());
    } else {
        r.box = b;
        if (index == box::HusbandFatherMarker || index == box::WifeFatherMarker) {
            // A father not named in the act keeps no copied surname.
            const int surname = index - 2, firstName = index - 1, spouse = index - 6;
            const QString fatherSurname = ctx.boxText(surname);
            if (ctx.boxText(firstName).isEmpty() && !fatherSurname.isEmpty()
                && fatherSurname == ctx.boxText(spouse))
                r.others.append({surname, QString()});
        }
    }
    r.help = QString();
    return r;
}

} // namespace fieldrules
