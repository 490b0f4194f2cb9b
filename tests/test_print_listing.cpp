#include "print/printjob.h"
#include "print/tablelisting.h"
#include "pagedump.h"
#include "testutil.h"

#include <QTest>

using namespace testutil;
using print::Page;

namespace {

QString rec(const QString &code, const QString &surname, const QString &first = "Jean", const QString &date = "03/05/1815")
{
    return recordLine({{"Type d'acte", code}, {"Nom EPX", surname}, {"Prenom EPX", first}, {"Date", date}});
}

// A table of `ma` marriages and `cg` leaves, surnames numbered so they sort in order.
QStringList table(int ma, int cg)
{
    QStringList lines{header()};
    for (int i = 1; i <= ma; ++i)
        lines << rec("MA", QStringLiteral("MARIN%1").arg(i, 3, 10, QChar('0')));
    for (int i = 1; i <= cg; ++i)
        lines << rec("CG", QStringLiteral("CONGAR%1").arg(i, 3, 10, QChar('0')));
    return lines;
}

// Per listing page: "<section title>|<page number>|<first couple>..<last couple>|<rows>".
QStringList summary(const print::PageDoc &d)
{
    QStringList out;
    for (const Page &p : d.pages.mid(1)) {
        QString title = "?", number = "?";
        QStringList couples;
        for (const auto &t : p.texts) {
            if (t.text.contains("PERDU") || t.text.contains("OUBLIÉ"))
                out << "printed: " + t.text;
            if (t.x == 500 && t.y == 150)
                title = t.text;
            else if (t.x == 5600 && t.y == 16100)
                number = t.text;
            else if (t.x == 1740 && int(t.y) % 750 == 150)
                couples << t.text;
        }
        out << QString("%1|%2|%3..%4|%5").arg(title, number, couples.value(0), couples.value(couples.size() - 1)).arg(couples.size());
    }
    return out;
}

// Every character as wide as a whole charter line.
class WideMeasure : public print::TextMeasure {
public:
    double width(const QString &text, const print::Font &) const override { return 10000.0 * text.size(); }
};

} // namespace

class TestPrintListing : public QObject {
    Q_OBJECT
    print::FontMeasure m;

private slots:
    void rowCellsFollowTheRecord()
    {
        const QString line = recordLine({{"Date", "15/brum/04"}, {"Nom EPX", "KERDUEL"}, {"Prenom EPX", "Yves"},
            {"Org EPX", "Plouvern"}, {"Code Org EPX", "29"}, {"Prenom PEPX", "Jean"}, {"Evnt PEPX", "+"},
            {"Nom MEPX", "MADEC"}, {"Prenom MEPX", "Anne"}, {"Nom EXEPX1", "LE GALL"}, {"Prenom EXEPX1", "Rose"},
            {"Nom EPSE", "TANGUY"}, {"Prenom EPSE", "Marie"}, {"Org EPSE", "Brelis"}, {"Prenom PEPSE", "Paul"}});
        QCOMPARE(print::listingRow(line),
                 QStringLiteral("15/brum/04\tKERDUEL Yves\tPlouvern (29)\tJean +\tMADEC Anne \tLE GALL Rose\t"
                                "TANGUY Marie\tBrelis\tPaul \t  \t \t"));
        // Sorted by Windows-1252 codes after the date: capitals before small letters, equal keys
        // in file order whatever the date, "Œ" (0x8C) before "Z" and "É" (0xC9) after it.
        QStringList rows;
        for (const auto &[name, first, date] : QList<std::tuple<QString, QString, QString>>{{"Dubois", "A", "01/01/1800"},
                 {"DURAND", "Louis", "09/09/1850"}, {"DURAND", "Louis", "01/01/1790"}, {"ÉON", "Max", ""},
                 {"ŒUVRAY", "Luc", ""}, {"ZOLA", "Émile", ""}})
            rows << print::listingRow(rec("MA", name, first, date));
        print::sortListingRows(rows);
        for (QString &r : rows)
            r = r.section('\t', 1, 1) + '@' + r.section('\t', 0, 0);
        QCOMPARE(rows, (QStringList{"DURAND Louis@09/09/1850", "DURAND Louis@01/01/1790", "Dubois A@01/01/1800",
                                    "ZOLA Émile@", "ŒUVRAY Luc@", "ÉON Max@"}));
    }

    // Sections in their order, twenty rows a page, numbered on; unknown and empty codes
    // printed nowhere; the range chosen in the print dialog.
    void pagesSectionsAndRange()
    {
        QStringList lines = table(20, 0);
        QCOMPARE(print::collectListing(lines).pageCount(), 1);
        lines = table(21, 30);
        lines << recordLine({{"Type d'acte", "XX"}, {"Nom EPX", "PERDU"}}) << recordLine({{"Type d'acte", ""}, {"Nom EPX", "OUBLIÉ"}});
        for (const char *code : {"TC", "SA", "CT", "RH", "DV", "PB", "CM"})
            lines << rec(code, code);
        const print::Listing l = print::collectListing(lines);
        QCOMPARE(l.commune, QStringLiteral("Valbrune"));
        QCOMPARE(l.pageCount(), 11);
        QStringList all{"|Page 1|MARIN001 Jean..MARIN020 Jean|20", "|Page 2|MARIN021 Jean..MARIN021 Jean|1",
                        "Congés|Page 3|CONGAR001 Jean..CONGAR020 Jean|20", "Congés|Page 4|CONGAR021 Jean..CONGAR030 Jean|10"};
        int page = 5;
        for (const auto &[code, title] : QList<std::pair<QString, QString>>{{"CM", "Contrats de Mariages"}, {"PB", "Publications"},
                 {"DV", "Divorces"}, {"RH", "Réhabilitations"}, {"CT", "Certificats"}, {"SA", "Signalés Ailleurs"}, {"TC", "Transcriptions"}})
            all << QString("%1|Page %2|%3 Jean..%3 Jean|1").arg(title).arg(page++).arg(code);
        const print::PageDoc doc = print::listingDocument(l, 1, 11, m);
        QCOMPARE(summary(doc), all);
        QVERIFY(doc.pages[0].textList().join(' ').contains("charte de bonne conduite"));
        QCOMPARE(summary(print::listingDocument(l, 2, 4, m)), all.mid(1, 3));

        QPrinter printer;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 19);
        QCOMPARE(print::chosenRange(printer, 11).last, 11);
        QPageRanges list;   // typed as "1, 3-4"
        list.addPage(1);
        list.addRange(3, 4);
        printer.setPageRanges(list);
        QCOMPARE(summary(print::listingDocument(l, print::chosenRange(printer, 11), m)), (QStringList{all[0], all[2], all[3]}));
    }

    // A whole page against the page written by hand from the layout rules.
    void wholePage()
    {
        const QString row = QStringList{"03/05/1815", "KERBRAT Yves", "Plouzané (29)", "Jean +", "LE GALL Anne ",
                                        "MORVAN Jeanne", "LE ROUX Marie", "Saint-Pierre-Quilbignon (29)", "Pierre ",
                                        "TANGUY Rose +", " ", ""}.join(u'\t');
        const Page p = print::listingPage("Congés", "Valbrune", {row}, 3, pagedump::CharMeasure());
        QVERIFY(pagedump::same(pagedump::dump(p), pagedump::expected("listing_page.txt")));
    }

    void charterLinesFitAndKeepEveryWord()
    {
        const print::Font f{"Arial", 12};
        for (int i = 0; i < 3; ++i) {
            const QString para = print::charterParagraph(i);
            const QStringList lines = print::wrapCharter(para, m);
            QVERIFY(lines.size() >= 3);
            QCOMPARE(lines.join(' '), para);
            for (int k = 0; k < lines.size(); ++k) {
                QVERIFY(m.width(lines[k], f) <= 10000 - 50 - 1000);
                if (k + 1 < lines.size())   // a line ends where the next word would no longer fit
                    QVERIFY(m.width(lines[k] + ' ' + lines[k + 1].section(' ', 0, 0), f) > 8950);
            }
        }
        QVERIFY(print::charterParagraph(2).endsWith("\"Tables des mariages du site " + print::societySite() + "\"."));
        // 89 characters of 100 twips fit; a longer word is cut; a one-letter word stays whole.
        const QString w100(100, 'W');
        QCOMPARE(print::wrapCharter("a " + w100 + " b", pagedump::CharMeasure()), (QStringList{"a", w100.left(89), w100.left(11) + " b"}));
        QCOMPARE(print::wrapCharter("ab c", WideMeasure()), (QStringList{"a", "b", "c"}));
        const Page page = print::charterPage(m);
        QCOMPARE(std::pair(page.texts.first().x, page.texts.first().y), std::pair(1500.0, 3500.0));
    }
};

QTEST_MAIN(TestPrintListing)
#include "test_print_listing.moc"
