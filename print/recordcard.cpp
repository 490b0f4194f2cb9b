#include "print/recordcard.h"
#include "print/printjob.h"

#include <QDir>
#include <QPrinter>

namespace print {

namespace {

const Font Title{QStringLiteral("Arial"), 14, false, true, false};
const Font ColumnTitle{QStringLiteral("Arial"), 18, false, true, false};
const Font ActLine{QStringLiteral("Arial"), 12};
const Font ActDate{QStringLiteral("Arial"), 12, true};
const Font NameLine{QStringLiteral("Arial"), 12, true};
const Font Label11{QStringLiteral("Arial"), 11, false, false, true};
const Font ParentName{QStringLiteral("Arial"), 11, true};
const Font ExName{QStringLiteral("Arial"), 11};
const Font Detail{QStringLiteral("Arial"), 10};

constexpr double Left = 700;
constexpr double Right = 11207;
constexpr double Middle = PageWidth / 2;          // 5953.5, the spouses' divider
constexpr double ColumnWidth = Middle - Left;     // 5253.5
constexpr double WitnessWidth = (Right - Left) / 4; // 2626.75
constexpr double ContractRight = PageWidth * 2 / 5; // 4762.8
constexpr double NotesLeft = ContractRight + 100;   // 4862.8

// Items of a detail group, 1-based; missing items are empty.
class Group {
public:
    explicit Group(const QString &s) : m_items(s.split(u'\t')) {}
    QString operator[](int k) const { return k >= 1 && k <= m_items.size() ? m_items.at(k - 1) : QString(); }

private:
    QStringList m_items;
};

// " (code)" only when there is a code.
QString code(const QString &c)
{
    return c.isEmpty() ? QString() : QStringLiteral(" (") + c + u')';
}

class Card {
public:
    Card(Page &page, const TextMeasure &m) : p(page), m(m) {}

    // A text cut to end short of `right`; returns where the next text would start.
    double put(double x, double y, const QString &s, const Font &f, double right)
    {
        const QString t = m.fit(s, f, x, right);
        p.text(x, y, t, f);
        return x + m.width(t, f);
    }
    // A title centred in the cell [left, left + width].
    void centred(double left, double width, double y, const QString &s, const Font &f)
    {
        p.text(left + (width - m.width(s, f)) / 2, y, s, f);
    }
    void line(double x1, double y1, double x2, double y2) { p.line(x1, y1, x2, y2); }

private:
    Page &p;
    const TextMeasure &m;
};

void header(Card &c, const EntryState &e)
{
    c.line(700, 700, 700, 1550);
    c.line(11207, 1100, 11207, 1550);
    c.line(3700, 700, 3700, 1100);
    c.line(3700, 1100, 11207, 1100);
    c.line(700, 700, 3700, 700);
    c.line(700, 1550, 11207, 1550);
    c.centred(700, 3000, 700, QStringLiteral("Informations sur l'acte"), Title);
    c.put(4000, 700, e.txt[0] + QStringLiteral(" - ") + e.parish, ActLine, PageWidth);

    c.put(750, 1200, e.actLabel, ActLine, 3000);
    c.put(3000, 1200, e.txt[3] + u'/' + e.txt[4] + u'/' + e.txt[5], ActDate, 4500);
    c.put(4500, 1200, QStringLiteral("Cote: ") + e.txt[2], ActLine, 7200);
    if (e.dispense)
        c.put(7200, 1200, QStringLiteral("Dispense: ") + Group(e.groups[16])[1], ActLine, Right);
}

// Death date, origin with residence, profession and remarks of a parent or a
// previous spouse, from `first` on in its group; parents have an age after the date.
void personDetails(Card &c, double L, double y, const Group &g, int first, bool withAge)
{
    const double R = L + ColumnWidth;
    int k = first;
    c.put(L + 150, y, QStringLiteral("Date de décès: ") + g[k], Detail, withAge ? L + 2800 : R);
    ++k;
    if (withAge) {
        const QString age = g[k];
        c.put(L + 2800, y, QStringLiteral("Age: ") + age + (age.isEmpty() ? QString() : QStringLiteral(" ans")),
              Detail, R);
        ++k;
    }
    c.put(L + 150, y + 250, QStringLiteral("Origine: ") + g[k] + code(g[k + 1]), Detail, L + 2800);
    c.put(L + 2800, y + 250, QStringLiteral("Résidence: ") + g[k + 2] + code(g[k + 3]), Detail, R);
    c.put(L + 150, y + 500, QStringLiteral("Profession: ") + g[k + 4], Detail, R);
    c.put(L + 150, y + 750, QStringLiteral("Remarques: ") + g[k + 5], Detail, R);
}

void spouseColumns(Card &c, const EntryState &e)
{
    c.line(700, 1700, 700, 9100);
    c.line(11207, 2200, 11207, 9100);
    c.line(2250, 2200, Middle, 2200);
    c.line(2250, 2200, 2250, 1700);
    c.line(700, 1700, 2250, 1700);
    c.line(7453.5, 2200, 7453.5, 1700);
    c.line(Middle, 1700, 7453.5, 1700);
    c.line(7453.5, 2200, 11207, 2200);
    c.line(Middle, 1700, Middle, 9100);
    c.line(700, 9100, 11207, 9100);

    for (int i = 0; i < 2; ++i) {
        const double L = Left + i * ColumnWidth;
        const double R = L + ColumnWidth;
        const int t = 12 * i;             // the wife's boxes stand 12 further
        const int g = 5 * i;              // and her groups 5 further
        const auto &txt = e.txt;
        c.centred(L, 1500, 1750, i == 0 ? QStringLiteral("Epoux") : QStringLiteral("Epouse"), ColumnTitle);
        c.put(L + 50, 2300, txt[6 + t] + u' ' + txt[7 + t], NameLine, R);

        const Group self(e.groups[g]);
        QString born = QStringLiteral("Né à: ") + txt[8 + t] + code(txt[9 + t]) + QStringLiteral(", le ") + self[1];
        if (!self[2].isEmpty())
            born += QStringLiteral(" (") + self[2] + QStringLiteral(" ans)");
        c.put(L + 150, 2650, born, Detail, R);
        c.put(L + 150, 2900, QStringLiteral("Lieu de résidence: ") + self[3] + code(self[4]), Detail, R);
        c.put(L + 150, 3150, QStringLiteral("Profession: ") + self[5], Detail, R);
        c.put(L + 150, 3400, QStringLiteral("Remarques: ") + self[6], Detail, R);

        double x = c.put(L + 50, 3750, QStringLiteral("Père:"), Label11, R);
        c.put(x, 3750, txt[10 + t] + u' ' + txt[11 + t] + u' ' + txt[12 + t], ParentName, R);
        personDetails(c, L, 4000, Group(e.groups[g + 1]), 1, true);

        x = c.put(L + 50, 5100, QStringLiteral("Mère:"), Label11, R);
        c.put(x, 5100, txt[13 + t] + u' ' + txt[14 + t] + u' ' + txt[15 + t], ParentName, R);
        personDetails(c, L, 5350, Group(e.groups[g + 2]), 1, true);

        x = c.put(L + 50, 6450, QStringLiteral("Ex-Conjoint1:"), Label11, R);
        c.put(x, 6450, txt[16 + t] + u' ' + txt[17 + t], ExName, R);
        personDetails(c, L, 6700, Group(e.groups[g + 3]), 1, false);

        const Group ex2(e.groups[g + 4]);
        x = c.put(L + 50, 7800, QStringLiteral("Ex-Conjoint2:"), Label11, R);
        c.put(x, 7800, ex2[1] + u' ' + ex2[2], ExName, R);
        personDetails(c, L, 8050, ex2, 3, false);
    }
}

void witnesses(Card &c, const EntryState &e)
{
    c.line(700, 9250, 700, 12000);
    c.line(11207, 9650, 11207, 12000);
    c.line(2000, 9250, 2000, 9650);
    c.line(2000, 9650, 11207, 9650);
    c.line(700, 9250, 2000, 9250);
    c.line(700, 12000, 11207, 12000);
    for (int k = 1; k <= 3; ++k)
        c.line(Left + k * WitnessWidth, 9750, Left + k * WitnessWidth, 11900);
    c.centred(700, 1300, 9300, QStringLiteral("Témoins"), Title);

    for (int k = 0; k < 4; ++k) {
        const Group w(e.groups[10 + k]);
        const double xn = 750 + k * WitnessWidth;
        const double xd = 800 + k * WitnessWidth;
        const double R = Left + (k + 1) * WitnessWidth;
        c.put(xn, 9700, w[1] + u' ' + w[2], NameLine, R);
        c.put(xd, 9950, QStringLiteral("Sexe: ") + w[3], Detail, R);
        c.put(xd, 10200, QStringLiteral("Age: ") + w[4], Detail, R);
        c.put(xd, 10450, QStringLiteral("Orig.: ") + w[5] + code(w[6]), Detail, R);
        c.put(xd, 10700, QStringLiteral("Résid.: ") + w[7] + code(w[8]), Detail, R);
        c.put(xd, 10950, QStringLiteral("Prof.: ") + w[9], Detail, R);
        c.put(xd, 11200, QStringLiteral("Parenté: ") + w[10], Detail, R);
        c.put(xd, 11450, QStringLiteral("Avec: ") + (w[11] == u"1" ? QStringLiteral("Epoux") : QStringLiteral("Epouse")),
              Detail, R);
        c.put(xd, 11700, QStringLiteral("Rem: ") + w[12], Detail, R);
    }
}

void contractAndNotes(Card &c, const EntryState &e)
{
    const bool mariage = e.actLabel == u"Mariage";
    const int f = mariage ? 1 : 0;
    const double tab = 2000 + 1300 * f;
    const double bottom = 13150 + 250 * f;
    c.line(700, 12150, 700, bottom);
    c.line(ContractRight, 12550, ContractRight, bottom);
    c.line(tab, 12150, tab, 12550);
    c.line(tab, 12550, ContractRight, 12550);
    c.line(700, 12150, tab, 12150);
    c.line(700, bottom, ContractRight, bottom);

    if (mariage) {
        const Group g(e.groups[14]);
        c.centred(700, tab - 700, 12200, QStringLiteral("Contrat de Mariage"), Title);
        c.put(800, 12600, QStringLiteral("Date du contrat: ") + g[1], Detail, ContractRight);
        c.put(800, 12850, QStringLiteral("Lieu du contrat: ") + g[2], Detail, ContractRight);
        c.put(800, 13100, QStringLiteral("Nom du notaire: ") + g[3], Detail, ContractRight);
    } else {
        const Group g(e.groups[15]);
        c.centred(700, tab - 700, 12200, QStringLiteral("Mariage"), Title);
        c.put(800, 12600, QStringLiteral("Date du mariage: ") + g[1], Detail, ContractRight);
        c.put(800, 12850, QStringLiteral("Lieu du mariage: ") + g[2], Detail, ContractRight);
    }

    c.line(NotesLeft, 12150, NotesLeft, 13150);
    c.line(11207, 12550, 11207, 13150);
    c.line(5800, 12150, 5800, 12550);
    c.line(5800, 12550, 11207, 12550);
    c.line(NotesLeft, 12150, 5800, 12150);
    c.line(NotesLeft, 13150, 11207, 13150);
    c.centred(NotesLeft, 5800 - NotesLeft, 12200, QStringLiteral("Notes"), Title);
    c.put(NotesLeft + 50, 12600, e.txt[30], Detail, Right);
}

} // namespace

PageDoc recordCard(const EntryState &entry, const QString &tablePath, const TextMeasure &measure)
{
    PageDoc doc;
    Page page;
    Card c(page, measure);
    header(c, entry);
    spouseColumns(c, entry);
    witnesses(c, entry);
    contractAndNotes(c, entry);
    c.put(800, 15600,
          QStringLiteral("Fiche n° ") + entry.recordNumber + QStringLiteral(" du fichier ") + QDir::toNativeSeparators(tablePath)
              + QStringLiteral(" imprimée avec le logiciel Velder - KRV"),
          Detail, PageWidth);
    doc.pages.append(page);
    return doc;
}

} // namespace print

void MCImprimeFiche(QWidget *parent, const EntryState &entry, const TableStore &table)
{
    using namespace print;
    if (!hooks().ask(parent, QStringLiteral("Impression de la fiche active"),
                     QStringLiteral("Souhaitez-vous imprimer la fiche active?")))
        return;
    QPrinter printer(QPrinter::HighResolution);
    const QString name = jobName(table.tablePath(), QStringLiteral("fiche ") + entry.recordNumber);
    setupPrinter(printer, name);
    if (!hooks().printDialog(parent, printer, 1, 1))
        return;
    FontMeasure measure;
    printDocument(parent, recordCard(entry, table.tablePath(), measure), printer);
}
