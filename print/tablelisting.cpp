#include "print/tablelisting.h"
#include "print/printjob.h"
#include "store/cp1252.h"
#include "store/tablestore.h"

#include <QFileInfo>
#include <QPrinter>

#include <algorithm>
#include <numeric>

namespace print {

namespace {

const Font Head{QStringLiteral("arial"), 10, true};
const Font Cell{QStringLiteral("arial"), 8};
const Font Charter{QStringLiteral("Arial"), 12};

// Column boundaries, left to right: Dates, S, Couples, Origines, Pères, Mères,
// Derniers conjoints.
constexpr std::array<double, 8> Rule{500, 1380, 1660, 4000, 5605, 6935, 9195, 11387};
constexpr const char16_t *Heading[]{u"Dates", u"S", u"Couples", u"Origines", u"Pères", u"Mères", u"Derniers conjoints"};
constexpr std::array CellX{1740.0, 4080.0, 5685.0, 7015.0, 9275.0};   // text x of the five cells
constexpr double RowStep = 750;
constexpr double CharterLeft = 1000, CharterRight = 10000, CharterX = 1500;

// Views of the first fields of a record line, as many as `out` holds; a short line leaves the rest as they were.
void fieldViews(const QString &line, std::array<QStringView, 90> &out)
{
    QStringView v(line);
    qsizetype start = 0;
    int n = 0;
    for (qsizetype i = 0; i <= v.size() && n < int(out.size()); ++i) {
        if (i == v.size() || v[i] == u'\t') {
            out[n++] = v.mid(start, i - start);
            start = i + 1;
        }
    }
}

QStringView actCode(const QString &line)
{
    const qsizetype a = line.indexOf(u'\t');
    if (a < 0)
        return {};
    const qsizetype b = line.indexOf(u'\t', a + 1);
    if (b < 0)
        return {};
    const qsizetype c = line.indexOf(u'\t', b + 1);
    return QStringView(line).mid(b + 1, (c < 0 ? line.size() : c) - b - 1);
}

int sectionOf(QStringView code)
{
    const auto &s = listingSections();
    for (int i = 0; i < SectionCount; ++i)
        if (code == QStringView(s[i].code))
            return i;
    return -1;
}

void heavyVerticals(Page &p, double top, double bottom)
{
    for (int d = 0; d <= 20; d += 5)
        for (double x : Rule)
            p.line(x + d, top, x + d, bottom);
}

} // namespace

const std::array<ListingSection, SectionCount> &listingSections()
{
    static const std::array<ListingSection, SectionCount> s{{
        {u"MA", u""},
        {u"CG", u"Congés"},
        {u"CM", u"Contrats de Mariages"},
        {u"PB", u"Publications"},
        {u"DV", u"Divorces"},
        {u"RH", u"Réhabilitations"},
        {u"CT", u"Certificats"},
        {u"SA", u"Signalés Ailleurs"},
        {u"TC", u"Transcriptions"},
    }};
    return s;
}

QString societySite()
{
    return QStringLiteral("www.sg-orvane.fr");
}

QString listingRow(const QString &recordLine)
{
    std::array<QStringView, 90> f;   // the fields a row shows are all among the first 90
    fieldViews(recordLine, f);
    auto at = [&](int position) { return f[position - 1]; };
    QString row;
    row += at(5);
    row += u'\t';
    for (int w = 0; w <= 50; w += 50) {
        row += at(7 + w), row += u' ', row += at(8 + w), row += u'\t';
        row += at(9 + w);
        if (!at(10 + w).isEmpty())
            row += u" (", row += at(10 + w), row += u')';
        row += u'\t';
        row += at(18 + w), row += u' ', row += at(19 + w), row += u'\t';
        row += at(28 + w), row += u' ', row += at(29 + w), row += u' ', row += at(30 + w), row += u'\t';
        row += at(39 + w), row += u' ', row += at(40 + w), row += u'\t';
    }
    return row;
}

void sortListingRows(QStringList &rows)
{
    // Keys compared as Windows-1252 bytes: capitals sort before small letters, and
    // "Œ" (0x8C) before "é" (0xE9) whatever their Unicode order.
    std::vector<QByteArray> keys;
    for (const auto &r : rows) {
        const qsizetype tab = r.indexOf(u'\t');
        keys.push_back(cp1252::encode(tab < 0 ? QStringView() : QStringView(r).mid(tab + 1)));
    }
    std::vector<qsizetype> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const QByteArray &ka = keys[a], &kb = keys[b];
        // Built rows all end with their tenth TAB, so no key is the start of another.
        return std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end(),
                                            [](char x, char y) { return uchar(x) < uchar(y); });
    });
    QStringList sorted;
    for (qsizetype i : order)
        sorted.append(rows.at(i));
    rows = std::move(sorted);
}

int Listing::pageCount() const
{
    int t = 0;
    for (const auto &r : rows)
        t += pagesFor(r.size());
    return t;
}

Listing collectListing(const QStringList &tableLines)
{
    Listing l;
    if (tableLines.isEmpty())
        return l;
    // The commune is the header's first field only: a stray record of unknown code,
    // or a blank line, would otherwise put its place (or nothing) at every page foot.
    l.commune = tableLines.first().section(u'\t', 0, 0);
    // The rows, in file order, then sorted.
    for (qsizetype i = 1; i < tableLines.size(); ++i) {
        const QString &line = tableLines.at(i);
        const int s = sectionOf(actCode(line));
        if (s >= 0)
            l.rows[s].append(listingRow(line));
    }
    for (auto &r : l.rows)
        sortListingRows(r);
    return l;
}

QStringList charterParagraphs()
{
    const QString soc = QStringLiteral("Société Généalogique de l'Orvane");
    return {
        QStringLiteral("Le site internet et les tables de mariages développés par la ") + soc
               + QStringLiteral(" pour répondre aux besoins des généalogistes connaît un franc succès, aussi bien "
                                "auprès des adhérents du cercle que des chercheurs se disant \"indépendants\". Pour "
                                "que notre association puisse vivre et se développer normalement, nous vous "
                                "demandons de respecter la charte de bonne conduite suivante:"),
        QStringLiteral("1) Je m'engage à n'utiliser les données mises à la disposition du public par la ") + soc
               + QStringLiteral(", que ce soit sous forme de livrets en papier ou sous forme de liste électronique "
                                "accessible par le réseau Internet, que pour mon usage personnel, dans la limite des "
                                "travaux généalogiques que je mène personnellement, sans jamais les intégrer dans un "
                                "autre site, géré par une autre société ou association."),
        QStringLiteral("2) Je m'engage à indiquer clairement, dans les échanges de cousinage, dans tout mémoire "
                              "ou tout arbre généalogique publié sur papier ou par voie électronique, la source des "
                              "données fournies par la Société Généalogique de l 'Orvane, à savoir : \"Tables des "
                              "mariages de la ")
               + soc + QStringLiteral("\" ou bien \"Tables des mariages du site ") + societySite()
               + QStringLiteral("\"."),
    };
}

QStringList wrapCharter(const QString &paragraph, const TextMeasure &measure)
{
    const double room = CharterRight - FitMargin - CharterLeft;
    QStringList lines;
    QString rest = paragraph;
    while (!rest.isEmpty()) {
        if (measure.width(rest, Charter) <= room) {
            lines << rest;
            break;
        }
        // As many whole words as fit; a word longer than the line is cut.
        qsizetype end = -1;
        for (qsizetype b = rest.indexOf(u' ', 1); b > 0; b = rest.indexOf(u' ', b + 1)) {
            if (measure.width(rest.left(b), Charter) > room)
                break;
            end = b;
        }
        if (end != -1) {
            lines << rest.left(end);
            rest = rest.mid(end + 1);
        } else {
            QString piece = measure.fit(rest, Charter, CharterLeft, CharterRight);
            if (piece.isEmpty())
                piece = rest.left(1);
            lines << piece;
            rest = rest.mid(piece.size());
        }
        while (rest.startsWith(u' '))
            rest.remove(0, 1);
    }
    return lines;
}

Page charterPage(const TextMeasure &measure)
{
    Page page;
    const QStringList paragraphs = charterParagraphs();
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QStringList lines = wrapCharter(paragraphs.at(p), measure);
        for (qsizetype i = 0; i < lines.size(); ++i)
            page.text(CharterX, 3500 + 3000 * p + 400 * i, lines.at(i), Charter);
    }
    return page;
}

Page listingPage(const QString &title, const QString &commune, const QStringList &rows, int number,
                 const TextMeasure &measure)
{
    Page p;
    const qsizetype n = qMin<qsizetype>(rows.size(), RowsPerPage);
    auto centred = [&](int col, double y, const QString &s, const Font &f) {
        const double l = Rule[col], w = Rule[col + 1] - Rule[col];
        p.text(l + (w - measure.width(s, f)) / 2, y, s, f);
    };

    for (int c = 0; c < 7; ++c)
        centred(c, 500, QString::fromUtf16(Heading[c]), Head);
    for (int d = 0; d <= 20; d += 5) {
        p.line(500, 400 + d, 11407, 400 + d);
        p.line(500, 800 + d, 11407, 800 + d);
    }
    heavyVerticals(p, 400, 800);

    for (int slot = 0; slot < RowsPerPage && slot < rows.size(); ++slot) {
        const double o = slot * RowStep;
        const QStringList cells = rows.at(slot).split(u'\t');
        // Day and month above the year; a date without two slashes stays whole above.
        const QString date = cells.value(0);
        centred(0, o + 880, date.section(u'/', 0, 1), Head);
        centred(0, o + 1225, date.section(u'/', 2), Head);
        centred(1, o + 880, QStringLiteral("H"), Head);
        centred(1, o + 1225, QStringLiteral("F"), Head);
        for (int c = 0; c < 5; ++c) {
            const double right = Rule[c + 3];
            p.text(CellX[c], o + 900, measure.fit(cells.value(1 + c), Cell, CellX[c], right), Cell);
            p.text(CellX[c], o + 1275, measure.fit(cells.value(6 + c), Cell, CellX[c], right), Cell);
        }
        p.line(1390, o + 1157, 11397, o + 1157);
        for (int k = 0; k < 5; ++k)   // five rules 5 twips apart: one heavy line
            p.line(510, o + 1522 + 5 * k, 11397, o + 1522 + 5 * k);
        heavyVerticals(p, o + 780, o + 1532);
    }

    p.text(500, 150, title, Head);
    p.text(500, 16100, commune, Head);
    const QString society = QStringLiteral("Table des mariages de la Société Généalogique de l'Orvane - ") + societySite();
    p.text((PageWidth - measure.width(society, Head)) / 2, 15800, society, Head);
    p.text(5600, 16100, QStringLiteral("Page ") + QString::number(number), Head);
    return p;
}

PageDoc listingDocument(const Listing &listing, int first, int last, const TextMeasure &measure)
{
    return listingDocument(listing, PageRange{first, last, {}}, measure);
}

PageDoc listingDocument(const Listing &listing, const PageRange &range, const TextMeasure &measure)
{
    PageDoc doc;
    doc.pages.append(charterPage(measure));
    int before = 0;   // listing pages of the sections already listed
    const auto &sections = listingSections();
    for (int s = 0; s < SectionCount; ++s) {
        const QStringList &rows = listing.rows[s];
        const int pages = Listing::pagesFor(rows.size());
        for (int k = 1; k <= pages; ++k) {
            const int number = before + k;
            if (number > range.last)
                break;
            if (!range.contains(number))
                continue;
            doc.pages.append(listingPage(QString::fromUtf16(sections[s].title), listing.commune,
                                         rows.mid((k - 1) * RowsPerPage, RowsPerPage), number, measure));
        }
        before += pages;
    }
    return doc;
}

} // namespace print

void printTableListing(QWidget *parent, const QString &tablePath)
{
    using namespace print;
    if (tablePath.isEmpty()) {
        hooks().warn(parent, QStringLiteral("Veuillez sélectionner une table"));
        return;
    }
    QStringList lines;
    if (!readLines(tablePath, lines)) {
        hooks().warn(parent, QFileInfo::exists(tablePath)
                                 ? QStringLiteral("Ce fichier est déjà utilisé par une autre application. Veuillez "
                                                  "fermer le fichier puis recommencer")
                                 : QStringLiteral("La table sélectionnée est introuvable."));
        return;
    }
    const Listing listing = collectListing(lines);
    const int total = qMax(1, listing.pageCount());

    QPrinter printer(QPrinter::HighResolution);
    setupPrinter(printer, jobName(tablePath));
    if (!hooks().printDialog(parent, printer, 1, total))
        return;
    const PageRange range = chosenRange(printer, total);
    FontMeasure measure;
    printDocument(parent, listingDocument(listing, range, measure), printer);
}
