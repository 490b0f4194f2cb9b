#include "detail/detaillogic.h"

#include "store/cp1252.h"
#include "store/recordmodel.h"

namespace detail {

using record::Nbsp;
using record::Tab;

const QString SourcesTitle = QStringLiteral("Sources et détail des périodes couvertes");
const QString SourcesMessage =
    QStringLiteral("Veuillez saisir les périodes avec les sources correspondantes. Pour saisir les différentes périodes: ")
    + QStringLiteral("\n\n1793 à 1892\tADO : 2E279, 4E280\n1893 à 1899\tMairie : 4E280\n\n")
    + QStringLiteral("1793 à 1892_ADO : 2E279, 4E280@1893 à 1899_Mairie : 4E280");
const QString DuplicateParishMessage = QStringLiteral("La paroisse est déjà présente dans la liste");

Boxes fillDetailBoxes(int n, const QString &s)
{
    Boxes b;
    if (s.isEmpty())
        return b;
    qsizetype pos = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype tab = s.indexOf(Tab, pos);
        if (tab < 0) {
            // Fewer items than boxes: the last one found keeps its box, the rest stay empty.
            b[i] = s.mid(pos);
            return b;
        }
        b[i] = s.mid(pos, tab - pos);
        pos = tab + 1;
    }
    b[n] = s.mid(pos);
    return b;
}

QString joinBoxes(const Boxes &b, int from, int to)
{
    QString out;
    for (int i = from; i <= to; ++i) {
        if (i > from)
            out += Tab;
        out += b[i];
    }
    return out;
}

void loadWitness(const QString &group, DetailValues &v)
{
    const Boxes items = fillDetailBoxes(11, group);
    Boxes shown;
    shown[0] = items[0];
    shown[1] = items[1];
    v.sex = items[2] == u"M" ? Choice::First : Choice::Second;
    for (int i = 3; i <= 9; ++i)
        shown[i - 1] = items[i];
    v.with = items[10] == u"1" ? Choice::First : Choice::Second;
    shown[9] = items[11];
    v.boxes = shown;
}

QString witnessGroup(const DetailValues &v)
{
    QStringList items;
    items << v.boxes[0] << v.boxes[1] << (v.sex == Choice::First ? QStringLiteral("M") : QStringLiteral("F"));
    for (int i = 2; i <= 8; ++i)
        items << v.boxes[i];
    items << (v.with == Choice::First ? QStringLiteral("1") : QStringLiteral("2")) << v.boxes[9];
    return items.join(Tab);
}

int witnessNumber(const QString &title)
{
    const int n = title.isEmpty() ? 0 : title.back().digitValue();
    return n >= 2 && n <= 4 ? n : 1;   // no digit, or another: the first
}

QString witnessTitle(int n)
{
    return QStringLiteral("Témoin ") + QString::number(n);
}

QString firstSpouseTitle(int mode)
{
    return mode == WifeSpouses ? QStringLiteral("Dernier Conjoint Epouse") : QStringLiteral("Dernier Conjoint Epoux");
}

QString secondSpouseTitle(int mode)
{
    return mode == WifeSpouses ? QStringLiteral("Avant-Dernier Conjoint Epouse")
                               : QStringLiteral("Avant-Dernier Conjoint Epoux");
}

bool onSecondSpouse(const QString &title)
{
    return title.startsWith(u"Avant-Dernier");
}

void loadPeople(const QString &people, Boxes &b)
{
    // Boxes 1..4 take the first four items, box 5 everything after the fourth
    // separator; a shorter field leaves the later boxes as they are (empty).
    qsizetype pos = 0;
    for (int i = 1; i <= 4; ++i) {
        const qsizetype sep = people.indexOf(Nbsp, pos);
        if (sep < 0) {
            b[i] = people.mid(pos);
            return;
        }
        b[i] = people.mid(pos, sep - pos);
        pos = sep + 1;
    }
    b[5] = people.mid(pos);
}

QString peopleField(const Boxes &b)
{
    return QStringList{b[1], b[2], b[3], b[4], b[5]}.join(Nbsp);
}

QString versionCaption(const QString &version)
{
    const QStringList parts = version.split(u'.');
    auto part = [&](int i) { return i < parts.size() && !parts[i].isEmpty() ? parts[i] : QStringLiteral("0"); };
    return QStringLiteral("Version ") + part(0) + u'.' + part(1) + u'.' + part(2);
}

namespace {

// Groups and entry boxes of the two previous-spouse modes.
struct SpouseSlots { int first, second, surname, firstNames; };
SpouseSlots spouseSlots(int mode)
{
    return mode == WifeSpouses ? SpouseSlots{8, 9, 28, 29} : SpouseSlots{3, 4, 16, 17};
}

// The group shown alone by a simple mode, its box count - 1, or -1.
struct SimpleGroup { int mode, group, lastBox; };
constexpr SimpleGroup SimpleGroups[] = {
    {HusbandDetails, 0, 5}, {WifeDetails, 5, 5}, {Contract, 14, 2}, {Marriage, 15, 1},
};

const SimpleGroup *simpleGroup(int mode)
{
    for (const SimpleGroup &g : SimpleGroups)
        if (g.mode == mode)
            return &g;
    return nullptr;
}

// The pair of parents' groups of modes 3 and 4: the first holds both while open.
int parentsFirstGroup(int mode)
{
    return mode == WifeParents ? 6 : 1;
}

void showFirstSpouse(int mode, DetailValues &v, const EntryState &entry)
{
    const SpouseSlots s = spouseSlots(mode);
    v.boxes = fillDetailBoxes(8, QString(Tab) + Tab + entry.groups[s.first]);
    v.boxes[0] = entry.txt[s.surname];
    v.boxes[1] = entry.txt[s.firstNames];
    v.prevEnabled = false;
    v.nextEnabled = true;
    v.title = firstSpouseTitle(mode);
}

// Writes the page shown; true when the entry window's boxes were written.
bool storeSpousePage(int mode, const DetailValues &v, EntryState &entry)
{
    const SpouseSlots s = spouseSlots(mode);
    if (onSecondSpouse(v.title)) {
        entry.groups[s.second] = joinBoxes(v.boxes, 0, 8);
        return false;
    }
    entry.txt[s.surname] = v.boxes[0];
    entry.txt[s.firstNames] = v.boxes[1];
    entry.groups[s.first] = joinBoxes(v.boxes, 2, 8);
    return true;
}

} // namespace

DetailValues loadMode(int mode, EntryState &entry, const TableStore &table)
{
    DetailValues v;
    if (const SimpleGroup *g = simpleGroup(mode)) {
        v.boxes = fillDetailBoxes(g->lastBox, entry.groups[g->group]);
        return v;
    }
    switch (mode) {
    case WifeParents:
    case HusbandParents: {
        const int g = parentsFirstGroup(mode);
        entry.groups[g] = entry.groups[g] + Tab + entry.groups[g + 1];
        v.boxes = fillDetailBoxes(15, entry.groups[g]);
        break;
    }
    case Dispensation:
        v.boxes[0] = entry.groups[16];
        break;
    case Witnesses:
        v.title = witnessTitle(1);
        if (!entry.groups[10].isEmpty())
            loadWitness(entry.groups[10], v);
        v.prevEnabled = false;
        break;
    case HusbandSpouses:
    case WifeSpouses:
        showFirstSpouse(mode, v, entry);
        break;
    case Parishes:
        v.parishes = table.parishNames();
        break;
    case TableProperties:
        v.boxes[0] = table.commune;
        loadPeople(table.people, v.boxes);
        break;
    default:
        break;
    }
    return v;
}

bool commitMode(int mode, const DetailValues &v, EntryState &entry, TableStore &table)
{
    if (const SimpleGroup *g = simpleGroup(mode)) {
        entry.groups[g->group] = joinBoxes(v.boxes, 0, g->lastBox);
        return false;
    }
    switch (mode) {
    case WifeParents:
    case HusbandParents: {
        const int g = parentsFirstGroup(mode);
        entry.groups[g] = joinBoxes(v.boxes, 0, 7);
        entry.groups[g + 1] = joinBoxes(v.boxes, 8, 15);
        return false;
    }
    case Dispensation:
        entry.groups[16] = v.boxes[0];
        return false;
    case Witnesses:
        entry.groups[9 + witnessNumber(v.title)] = witnessGroup(v);
        return false;
    case HusbandSpouses:
    case WifeSpouses:
        return storeSpousePage(mode, v, entry);
    case Parishes:
        table.setParishNames(v.parishes);
        return false;
    case TableProperties:
        table.commune = v.boxes[0];
        table.people = peopleField(v.boxes);
        return false;
    default:
        return false;
    }
}

bool pageNext(int mode, DetailValues &v, EntryState &entry)
{
    if (mode == Witnesses) {
        const int n = witnessNumber(v.title);
        if (n >= 4)
            return false;
        if (n == 3)
            v.nextEnabled = false;
        v.prevEnabled = true;
        entry.groups[9 + n] = witnessGroup(v);
        // An empty group keeps what the boxes show, so it is stored under the next number.
        if (!entry.groups[10 + n].isEmpty())
            loadWitness(entry.groups[10 + n], v);
        v.title = witnessTitle(n + 1);
        return false;
    }
    if (mode == HusbandSpouses || mode == WifeSpouses) {
        if (onSecondSpouse(v.title))
            return false;
        const bool wrote = storeSpousePage(mode, v, entry);
        v.boxes = fillDetailBoxes(8, entry.groups[spouseSlots(mode).second]);
        v.prevEnabled = true;
        v.nextEnabled = false;
        v.title = secondSpouseTitle(mode);
        return wrote;
    }
    return false;
}

void pagePrevious(int mode, DetailValues &v, EntryState &entry)
{
    if (mode == Witnesses) {
        const int n = witnessNumber(v.title);
        if (n <= 1)
            return;
        if (n == 2)
            v.prevEnabled = false;
        v.nextEnabled = true;
        entry.groups[9 + n] = witnessGroup(v);
        if (!entry.groups[8 + n].isEmpty())
            loadWitness(entry.groups[8 + n], v);
        v.title = witnessTitle(n - 1);
    } else if ((mode == HusbandSpouses || mode == WifeSpouses) && onSecondSpouse(v.title)) {
        storeSpousePage(mode, v, entry);
        showFirstSpouse(mode, v, entry);
    }
}

AddResult addParish(DetailValues &v)
{
    const QString name = v.boxes[0];
    const QString key = cp1252::upper(name);
    for (const QString &item : std::as_const(v.parishes))
        if (cp1252::upper(item) == key)
            return AddResult::Duplicate;
    if (name.isEmpty())
        return AddResult::Empty;
    v.parishes << name;
    v.boxes[0].clear();
    return AddResult::Added;
}

void removeParish(DetailValues &v)
{
    if (v.parishSelected >= 0 && v.parishSelected < v.parishes.size())
        v.parishes.removeAt(v.parishSelected);
    v.parishSelected = -1;
}

bool applySourcesAnswer(TableStore &table, const QString &answer)
{
    const QString clean = cp1252::cleanForField(answer);
    if (clean.isEmpty())
        return false;
    table.sources = clean;
    return true;
}

bool isPlaceBox(int mode, int index)
{
    switch (mode) {
    case HusbandDetails:
    case WifeDetails:
        return index == 2;
    case WifeParents:
    case HusbandParents:
        return index == 2 || index == 4 || index == 10 || index == 12;
    case Witnesses:
    case HusbandSpouses:
    case WifeSpouses:
        return index == 3 || index == 5;
    default:
        return false;
    }
}

bool isCodeBox(int mode, int index)
{
    switch (mode) {
    case HusbandDetails:
    case WifeDetails:
        return index == 3;
    case WifeParents:
    case HusbandParents:
        return index == 3 || index == 5 || index == 11 || index == 13;
    case Witnesses:
    case HusbandSpouses:
    case WifeSpouses:
        return index == 4 || index == 6;
    default:
        return false;
    }
}

bool typedCharAllowed(QChar c, int mode)
{
    if (!cp1252::fieldChar(c))
        return false;
    return !(headerMode(mode) && c == Nbsp);
}

std::optional<QString> cleanPaste(const QString &text, int mode, int index)
{
    bool refused;   // always set by the cleaning
    QString clean = cp1252::cleanForField(text, &refused);
    if (!refused && headerMode(mode))
        clean.replace(Nbsp, u' ');
    if (!refused && isCodeBox(mode, index))
        for (QChar c : std::as_const(clean))
            if (c < u'0' || c > u'9')
                refused = true;
    if (refused)
        return std::nullopt;
    return clean;
}

namespace {

bool letterCaseApplies(int mode, int index)
{
    if ((mode == WifeParents || mode == HusbandParents) && index == 7)
        return false;
    return mode == Contract || mode == Marriage || mode == Parishes || boxShown(mode, index + 1);
}

// Characters after which a letter starts a new word.
bool wordStart(QChar c)
{
    return c == u'\'' || c == u'/' || c == u'-' || c == u'(' || c == u' ';
}

} // namespace

KeyOutcome keyPress(const KeyInput &in, const TableStore &table)
{
    KeyOutcome out{};
    QChar key = in.key;
    if (key == QChar(13)) {
        out.kind = KeyOutcome::NextBox;
        return out;
    }
    if (key == QChar(27)) {
        out.kind = KeyOutcome::Commit;
        return out;
    }
    const bool backspace = key == QChar(8);
    const int caret = qBound(0, in.caret, int(in.text.size()));
    const bool surname = in.index == 0 && (in.mode == Witnesses || in.mode == HusbandSpouses || in.mode == WifeSpouses);
    if (surname) {
        key = cp1252::upper(key);
    } else if (in.index < 15 && !backspace && letterCaseApplies(in.mode, in.index)) {
        if (caret == 0 || wordStart(in.text.at(caret - 1)))
            key = cp1252::upper(key);
        else
            key = cp1252::lower(key);
    }

    if (!backspace && isPlaceBox(in.mode, in.index)) {
        const QString prefix = in.text.left(caret) + key;
        // Field 9, "Org EPX": the first record whose origin begins with the text typed.
        QString origin;
        const int k = table.findField(9, prefix, 1, +1);
        if (k > 0 && table.field(k, 9, origin)) {
            out.kind = KeyOutcome::Complete;
            out.text = origin;
            out.selStart = caret + 1;
            out.selLength = int(origin.size()) - (caret + 1);
            return out;
        }
    }

    if (isCodeBox(in.mode, in.index) && !backspace && (key < u'0' || key > u'9')) {
        out.kind = KeyOutcome::Drop;
        return out;
    }
    out.key = key;   // inserted, the outcome's default
    return out;
}

} // namespace detail
