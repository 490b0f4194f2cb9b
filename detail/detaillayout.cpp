#include "detail/detaillayout.h"

#include "app/twips.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>
#include <optional>
#include <span>

namespace detail {

QColor infoBackColour()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::ToolTipBase);
    return QColor(255, 255, 225);
}

int toPixels(double twips)
{
    // The tables keep fractions of a twip; whole twips are enough on screen.
    return twips::px(int(std::lround(twips)));
}

namespace {

// The window as created: client area 6405 x 3300.
constexpr double CreatedClientWidth = 6405, CreatedClientHeight = 3300;
constexpr double OkWidth = 645, OkHeight = 250, ButtonWidth = 1170, ButtonHeight = 250;
constexpr double LabelWidth = 1800, LabelHeight = 225, BoxWidth = 1590, BoxHeight = 280;
constexpr double CodeWidth = 330;
constexpr int CodeMaxLength = 2;

// One row of a mode: a label and its box, optionally a code box beside it.
// caption nullptr leaves the label's caption alone; box -1 means no box.
struct Row {
    int label;
    double labelLeft, labelTop;
    const char16_t *caption;
    int box = -1;
    double boxLeft{}, boxTop{}, boxWidth{};
    int code = -1;
    double codeLeft{};
};

enum class Ctl { LblRem, Box, Parents, Picture, Frame1, Frame2, Prev, Next, List, Line };
// A range of LblRem, Box or Parents shown, or hidden from one on to the last of its kind;
// a single control is named alone: shown.
struct Show { Ctl ctl; int from, to; bool hidden; };
constexpr Show hideFrom(Ctl c, int from) { return {c, from, from, true}; }

// A mode's back colour, which LblRem(0)..LblRem(labels - 1) take too.
struct Tint {
    QColor back;
    int labels;
};

struct ModeLook {
    double outerWidth, outerHeight;  // 0: as created
    std::optional<Tint> tint;        // none: the colours stay as they are
    const char16_t *title;           // nullptr: set by the caller or by paging
};

// Window size, back colour and title of modes 1 to 13, in order.
const ModeLook Modes[ModeCount] = {
    {3975, 2800, Tint{LightBlue, 7}, u"Remarque Epoux"},   // 1
    {3975, 2800, Tint{LightPink, 7}, u"Remarque Epouse"},   // 2
    {7760, 0, Tint{LightPink, 13}, u"Remarque Parents Epouse"},   // 3
    {7760, 0, Tint{LightBlue, 13}, u"Remarque Parents Epoux"},   // 4
    {3600, 2355, std::nullopt, u"Contrat de Mariage"},   // 5
    {3360, 1400, std::nullopt, u"Dispense"},   // 6
    {3600, 1855, std::nullopt, u"Mariage"},   // 7
    {3975, 4255, std::nullopt, u"Témoin 1"},   // 8
    {3975, 0, Tint{LightBlue, 9}, nullptr},   // 9
    {3975, 0, Tint{LightPink, 9}, nullptr},   // 10
    {2860, 2000, Tint{LightGreen, 1}, u"Paroisses:"},   // 11
    {3200, 3000, Tint{LightGreen, 7}, u"Propriétés de la table"},   // 12
    {3795, 2405, std::nullopt, nullptr},   // 13: the tooltip colour, set apart
};

const Row SpouseRows[] = {
    {1, 105, 675, u"Date de naissance:", 0, 1890, 630, 1965},
    {2, 105, 990, u"Age:", 1, 1890, 945, 1965},
    {3, 105, 1305, u"Lieu de résidence:", 2, 1890, 1260, 1590, 3, 3525},
    {4, 105, 1620, u"Profession:", 4, 1890, 1575, 1965},
    {5, 105, 1935, u"Remarques:", 5, 1890, 1890, 1965},
    {6, 105, 2250, nullptr},
};

// The mother's column stands 8 x 2900 / 6 to the right of the father's boxes.
constexpr double MotherShift = 8 * 2900 / 6.0;
constexpr double FatherBox = 1770, FatherCode = 3405;
constexpr double MotherBox = FatherBox + MotherShift, MotherCode = FatherCode + MotherShift;
constexpr double ParentRow5 = (6 * 2.68 / 4 + 0 + 2) * 630 / 2 + 210;   // 2106.3
constexpr double ParentRow6 = (6 * 2.68 / 4 + 1 + 2) * 630 / 2 + 210;   // 2421.3

const Row ParentRows[] = {
    {1, 105, 875, u"Date de décès:", 0, FatherBox, 840, 1965},
    {2, 105, 1190, u"Age:", 1, FatherBox, 1155, 1965},
    {3, 105, 1505, u"Lieu d'origine:", 2, FatherBox, 1470, 1590, 3, FatherCode},
    {4, 105, 1820, u"Lieu de résidence:", 4, FatherBox, 1785, 1590, 5, FatherCode},
    {5, 105, 2135, u"Profession:", 6, FatherBox, ParentRow5, 1965},
    {6, 105, 2450, u"Remarques:", 7, FatherBox, ParentRow6, 1965},
    {7, 3975, 875, u"Date de décès:", 8, MotherBox, 840, 1965},
    {8, 3975, 1190, u"Age:", 9, MotherBox, 1155, 1965},
    {9, 3975, 1505, u"Lieu d'origine:", 10, MotherBox, 1470, 1590, 11, MotherCode},
    {10, 3975, 1820, u"Lieu de résidence:", 12, MotherBox, 1785, 1590, 13, MotherCode},
    {11, 3975, 2135, u"Profession:", 14, MotherBox, ParentRow5, 1965},
    {12, 3975, 2450, u"Remarques:", 15, MotherBox, ParentRow6, 1965},
};

const Row ContractRows[] = {   // the boxes stand where the base puts them
    {1, 105, 675, u"Date du contrat:"},
    {2, 105, 990, u"Lieu du contrat:"},
    {3, 105, 1305, u"Nom du notaire:"},
};

const Row DispensationRows[] = {
    {1, 105, 675, u"Degré de parenté:", 0, 1690, 630, 1590},
};

const Row MarriageRows[] = {
    {1, 105, 675, u"Date du mariage:", 0, 1890, 630, 1590},
    {2, 105, 990, u"Lieu du mariage:", 1, 1890, 945, 1590},
};

const Row WitnessRows[] = {
    {1, 105, 675, u"Nom:", 0, 1890, 630, 1965},
    {2, 105, 990, u"Prénom:", 1, 1890, 945, 1965},
    {3, 105, 1305, u"Sexe:"},                              // Frame1 beside it
    {4, 105, 1620, u"Age:", 2, 1890, 1575, 1965},
    {5, 105, 1935, u"Lieu d'origine:", 3, 1890, 1890, 1590, 4, 3525},
    {6, 105, 2250, u"Lieu de résidence:", 5, 1890, 2205, 1590, 6, 3525},
    {7, 105, 2565, u"Profession:", 7, 1890, 2520, 1965},
    {8, 105, 2880, u"Lien de parenté:", 8, 1890, 2835, 1965},  // Frame2 below it
    {9, 105, 3510, u"Remarques:", 9, 1890, 3465, 1965},
};

const Row PreviousSpouseRows[] = {
    {1, 105, 665, u"Nom:", 0, 1890, 630, 1965},
    {2, 105, 980, u"Prénom:", 1, 1890, 945, 1965},
    {3, 105, 1295, u"Date de décès:", 2, 1890, 1260, 1965},
    {4, 105, 1610, u"Lieu d'origine:", 3, 1890, 1577.1, 1590, 4, 3525},
    {5, 105, 1925, u"Lieu de résidence:", 5, 1890, 1892.1, 1590, 6, 3525},
    {6, 105, 2240, u"Profession:", 7, 1890, 2211.3, 1965},
    {7, 105, 2555, u"Remarques:", 8, 1890, 2526.3, 1965},
};

const Row PropertyRows[] = {
    {1, 105, 675, u"Commune:", 0, 1500, 630, 1590},
    {2, 105, 990, u"Relevée par:", 1, 1500, 945, 1590},
    {3, 105, 1305, u"Date du relevé:", 2, 1500, 1260, 1590},
    {4, 105, 1620, u"Saisie par:", 3, 1500, 1575, 1590},
    {5, 105, 1935, u"Vérifiée par:", 4, 1500, 1890, 1590},
    {6, 105, 2250, u"Nom de l'étude:", 5, 1500, 2205, 1590},
};

// About box labels: label, left, top, width, caption (nullptr: filled in by the window).
struct AboutLabel { int label; double left, top, width; const char16_t *caption; };
const AboutLabel AboutLabels[] = {
    {5, 105, 735, 2025, u"Mariage de l'Orvane - KRV"},
    {1, 105, 1050, 1800, nullptr},   // "Version " + the program's version
    {2, 105, 1365, 3270, nullptr},   // "Développé par " + the author
    {3, 105, 1785, 1800, u"Contact:"},
    {4, 735, 1785, 1800, nullptr},   // the contact address
};

const Show ShowParents[] = {{Ctl::LblRem, 6, 12}, {Ctl::Box, 6, 15}, {Ctl::Line}, {Ctl::Parents, 0, 1}};
const Show ShowContract[] = {hideFrom(Ctl::LblRem, 4), hideFrom(Ctl::Box, 3)};
const Show ShowDispensation[] = {hideFrom(Ctl::LblRem, 2), hideFrom(Ctl::Box, 1)};
const Show ShowMarriage[] = {hideFrom(Ctl::LblRem, 3), hideFrom(Ctl::Box, 2)};
const Show ShowWitness[] = {{Ctl::Frame1}, {Ctl::Frame2}, {Ctl::Prev}, {Ctl::Next}, {Ctl::Box, 6, 9}, {Ctl::LblRem, 6, 9}};
const Show ShowPreviousSpouse[] = {{Ctl::Prev}, {Ctl::Next}, {Ctl::LblRem, 6, 7}, {Ctl::Box, 6, 8}};
const Show ShowParishes[] = {hideFrom(Ctl::LblRem, 1), hideFrom(Ctl::Box, 1), {Ctl::List}, {Ctl::Prev}, {Ctl::Next}};
const Show ShowProperties[] = {{Ctl::LblRem, 6, 6}, {Ctl::Prev}};
const Show ShowAbout[] = {{Ctl::Picture}, hideFrom(Ctl::LblRem, 0), {Ctl::LblRem, 1, 5}, hideFrom(Ctl::Box, 0)};

template <std::size_t N>
void applyRows(Layout &l, const Row (&rows)[N])
{
    for (const Row &r : rows) {
        Item &lab = l.lblRem[r.label];
        lab.left = r.labelLeft;
        lab.top = r.labelTop;
        if (r.caption)
            lab.caption = QString::fromUtf16(r.caption);
        if (r.box != -1) {
            Item &b = l.box[r.box];
            b.left = r.boxLeft;
            b.top = r.boxTop;
            b.width = r.boxWidth;
        }
        if (r.code != -1) {
            Item &c = l.box[r.code];
            c.left = r.codeLeft;
            c.top = r.boxTop;
            c.width = CodeWidth;
            c.maxLength = CodeMaxLength;
        }
    }
}

template <std::size_t N>
void applyShow(Layout &l, const Show (&shows)[N])
{
    for (const Show &s : shows) {
        const bool visible = !s.hidden;
        std::span<Item> range;
        switch (s.ctl) {
        case Ctl::LblRem: range = l.lblRem; break;
        case Ctl::Box: range = l.box; break;
        case Ctl::Parents: range = l.parents; break;
        case Ctl::Picture: l.picture.visible = visible; continue;
        case Ctl::Frame1: l.frame1.visible = visible; continue;
        case Ctl::Frame2: l.frame2.visible = visible; continue;
        case Ctl::Prev: l.prev.visible = visible; continue;
        case Ctl::Next: l.next.visible = visible; continue;
        case Ctl::List: l.list.visible = visible; continue;
        case Ctl::Line: l.line.visible = visible; continue;
        }
        // Checked indexing: a range past the controls is a fault of the tables above.
        const qsizetype end = s.hidden ? qsizetype(range.size()) : s.to + 1;
        for (qsizetype i = s.from; i < end; ++i)
            range[i].visible = visible;
    }
}

void setPlace(Item &it, double left, double top, double width, double height)
{
    it.left = left;
    it.top = top;
    it.width = width;
    it.height = height;
}

// OK centred at the bottom.
void placeOk(Layout &l)
{
    l.ok.top = l.outerHeight - 360;
    l.ok.left = (l.outerWidth - l.ok.width) / 2;
}

// The paging buttons 50 twips either side of OK (witnesses and previous spouses).
void placePagers(Layout &l)
{
    l.prev.left = (l.outerWidth - l.ok.width) / 2 - 50 - l.prev.width;
    l.next.left = (l.outerWidth - l.ok.width) / 2 + l.ok.width + 50;
}

} // namespace

Layout baseLayout()
{
    Layout l;
    l.outerWidth = CreatedClientWidth + 2 * BorderTwips;
    l.outerHeight = CreatedClientHeight + 2 * BorderTwips;
    l.back = LightYellow;

    setPlace(l.picture, 105, 105, 2400, 510);
    setPlace(l.lblRem[0], 75, 75, 3900, 330);
    l.lblRem[0].visible = true;
    l.lblRem[0].pointSize = 12;
    l.lblRem[0].italic = true;
    for (int i = 0; i < LabelCount; ++i) {
        Item &lab = l.lblRem[i];
        lab.bold = true;
        lab.back = LightYellow;
        if (i > 0) {
            setPlace(lab, 105, 675 + 315 * (i - 1), LabelWidth, LabelHeight);
            lab.visible = i <= 5;
        }
    }
    for (int i = 0; i < BoxCount; ++i) {
        setPlace(l.box[i], 1890, 630 + 315 * i, BoxWidth, BoxHeight);
        l.box[i].visible = i <= 5;
    }
    setPlace(l.frame1, 105, 1575, 1485, 225);
    setPlace(l.frame2, 4305, 420, 1695, 225);
    l.frame1.back = l.frame2.back = LightYellow;
    // The paging buttons stand where each mode showing them puts them.
    l.prev.width = l.next.width = ButtonWidth;
    l.prev.height = l.next.height = ButtonHeight;
    l.prev.caption = QStringLiteral("< Précédent");
    l.next.caption = QStringLiteral("Suivant >");
    l.ok.width = OkWidth;   // centred at the bottom below
    l.ok.height = OkHeight;
    l.ok.caption = QStringLiteral("OK");
    l.ok.visible = true;
    setPlace(l.list, 105, 735, 1590, 810);
    setPlace(l.parents[0], 105, 630, 540, 225);
    l.parents[0].caption = QStringLiteral("Père:");
    setPlace(l.parents[1], 3975, 630, 540, 225);
    l.parents[1].caption = QStringLiteral("Mère:");
    for (Item &p : l.parents) {
        p.bold = true;
        p.underline = true;
        p.back = LightYellow;
    }
    // A vertical line from (3855, 630) to (3855, 2700), one pixel wide.
    setPlace(l.line, 3855, 630, 15, 2700 - 630);
    placeOk(l);
    return l;
}

Layout layoutFor(int mode)
{
    Layout l = baseLayout();
    if (mode < 1 || mode > ModeCount)
        return l;
    const ModeLook &look = Modes[mode - 1];
    if (look.outerWidth != 0)   // 0: the base size
        l.outerWidth = look.outerWidth;
    if (look.outerHeight != 0)
        l.outerHeight = look.outerHeight;
    if (look.tint) {
        l.back = look.tint->back;
        for (int i = 0; i < look.tint->labels; ++i)
            l.lblRem[i].back = look.tint->back;
    }
    if (look.title)
        l.lblRem[0].caption = QString::fromUtf16(look.title);

    switch (mode) {
    case HusbandDetails:
    case WifeDetails:
        applyRows(l, SpouseRows);
        break;
    case WifeParents:
    case HusbandParents:
        applyRows(l, ParentRows);
        applyShow(l, ShowParents);
        for (Item &p : l.parents)
            p.back = look.tint->back;
        break;
    case Contract:
        applyShow(l, ShowContract);
        applyRows(l, ContractRows);
        break;
    case Dispensation:
        applyShow(l, ShowDispensation);
        applyRows(l, DispensationRows);
        break;
    case Marriage:
        applyShow(l, ShowMarriage);
        applyRows(l, MarriageRows);
        break;
    case Witnesses:
        applyShow(l, ShowWitness);
        applyRows(l, WitnessRows);
        l.frame1.left = 1890;
        l.frame1.top = 1307.25;
        l.frame2.left = 1890;
        l.frame2.top = 3197.25;
        break;
    case HusbandSpouses:
    case WifeSpouses:
        applyShow(l, ShowPreviousSpouse);
        applyRows(l, PreviousSpouseRows);
        break;
    case Parishes:
        applyShow(l, ShowParishes);
        l.box[0].left = 100;
        l.box[0].top = 400;
        l.list.left = 100;
        l.list.top = 800;
        setPlace(l.prev, 1740, 440, 780, ButtonHeight);
        l.prev.caption = QStringLiteral("Ajouter");
        setPlace(l.next, 1740, 1040, 980, ButtonHeight);
        l.next.caption = QStringLiteral("Supprimer");
        break;
    case TableProperties:
        applyShow(l, ShowProperties);
        applyRows(l, PropertyRows);
        l.prev.caption = QStringLiteral("Sources");
        l.prev.width = 800;
        break;
    case About: {
        applyShow(l, ShowAbout);
        l.back = infoBackColour();
        for (int i = 1; i <= 5; ++i) {
            l.lblRem[i].back = l.back;
            l.lblRem[i].bold = false;
        }
        l.lblRem[1].bold = true;
        for (const AboutLabel &a : AboutLabels) {
            Item &lab = l.lblRem[a.label];
            lab.left = a.left;
            lab.top = a.top;
            lab.width = a.width;
            if (a.caption)
                lab.caption = QString::fromUtf16(a.caption);
        }
        l.lblRem[2].pointSize = 10;
        l.lblRem[4].fore = LinkBlue;
        break;
    }
    default:
        break;
    }

    placeOk(l);
    // Paging rows stand slightly apart from OK where the layout says so; the
    // parish list and the properties keep their own button places.
    switch (mode) {
    case Witnesses:
        placePagers(l);
        l.prev.top = l.next.top = 3895;
        break;
    case HusbandSpouses:
    case WifeSpouses:
        placePagers(l);
        l.prev.top = l.next.top = 2975;
        break;
    case TableProperties:
        l.prev.left = 75;
        l.prev.top = l.outerHeight - 360;
        break;
    default:
        break;
    }
    return l;
}

bool boxShown(int mode, int box)
{
    return layoutFor(mode).box.at(box).visible;   // a box past the last is a caller's fault
}

} // namespace detail
