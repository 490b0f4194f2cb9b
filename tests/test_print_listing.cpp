#include "print/printjob.h"
#include "print/tablelisting.h"
#include "pagedump.h"
#include "testutil.h"

#include <QTest>

using namespace testutil;
using print::Page;

namespace {

QString rec(const QString &code, const QString &surname, const QString &first = QStringLiteral("Jean"),
            const QString &date = QStringLiteral("03/05/1815"))
{
    return recordLine({{"Type d'acte", code}, {"Nom EPX", surname}, {"Prenom EPX", first}, {"Date", date}});
}

// A table of `ma` marriages and `cg` leaves, surnames numbered so they sort in order.
QStringList table(int ma, int cg)
{
    QStringList lines{header(QStringLiteral("Valbrune"))};
    for (int i = 1; i <= ma; ++i)
        lines << rec("MA", QStringLiteral("MARIN%1").arg(i, 3, 10, QChar('0')));
    for (int i = 1; i <= cg; ++i)
        lines << rec("CG", QStringLiteral("CONGAR%1").arg(i, 3, 10, QChar('0')));
    return lines;
}

QString textAtY(const Page &p, double x, double y)
{
    for (const auto &t : p.texts)
        if (qAbs(t.x - x) < 0.01 && qAbs(t.y - y) < 0.01)
            return t.text;
    return QStringLiteral("<none>");
}

// The husband's couple cells of a page, top to bottom.
QStringList couples(const Page &p)
{
    QStringList out;
    for (const auto &t : p.texts)
        if (t.x == 1740 && int(t.y) % 750 == 150)
            out << t.text;
    return out;
}

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
    }

    void sortIsByWindows1252CodesAndStable()
    {
        QStringList rows{print::listingRow(rec("MA", "Dubois", "A", "01/01/1800")),
                         print::listingRow(rec("MA", "DURAND", "Louis", "09/09/1850")),
                         print::listingRow(rec("MA", "DURAND", "Louis", "01/01/1790")),
                         print::listingRow(rec("MA", "ÉON", "Max")),
                         print::listingRow(rec("MA", "ŒUVRAY", "Luc")),
                         print::listingRow(rec("MA", "ZOLA", "Émile"))};
        print::sortListingRows(rows);
        QStringList names;
        for (const auto &r : rows)
            names << r.section('\t', 1, 1) + '@' + r.section('\t', 0, 0);
        // Capitals before small letters, equal keys in file order whatever the date,
        // and "Œ" (0x8C) before "Z" and "É" (0xC9) after it.
        QCOMPARE(names, (QStringList{"DURAND Louis@09/09/1850", "DURAND Louis@01/01/1790", "Dubois A@01/01/1800",
                                     "ZOLA Émile@03/05/1815", "ŒUVRAY Luc@03/05/1815", "ÉON Max@03/05/1815"}));
    }

    void sectionsAndPageCounts()
    {
        QStringList lines = table(20, 0);
        QCOMPARE(print::collectListing(lines).pageCount(), 1);
        lines << rec("MA", "ZED");
        print::Listing l = print::collectListing(lines);
        QCOMPARE(l.pageCount(), 2);
        const print::PageDoc d21 = print::listingDocument(l, 1, 2, m);
        QCOMPARE(d21.pages.size(), 3);
        QCOMPARE(couples(d21.pages[2]), QStringList{"ZED Jean"});
        QCOMPARE(textAtY(d21.pages[2], 5600, 16100), QStringLiteral("Page 2"));

        // Unknown and empty codes are printed nowhere; they do not take the commune.
        lines = table(3, 0);
        lines << recordLine({{"Type d'acte", "XX"}, {"Lieu", "Ailleurs"}, {"Nom EPX", "PERDU"}})
              << recordLine({{"Type d'acte", ""}, {"Lieu", "Nulle-Part"}, {"Nom EPX", "OUBLIÉ"}})
              << rec("TC", "TRANS") << rec("SA", "SIGNAL") << rec("CM", "CONTRAT");
        l = print::collectListing(lines);
        QCOMPARE(l.commune, QStringLiteral("Valbrune"));
        const print::PageDoc doc = print::listingDocument(l, 1, l.pageCount(), m);
        QCOMPARE(doc.pages.size(), 1 + 4);
        for (const auto &p : doc.pages)
            for (const auto &t : p.textList())
                QVERIFY(!t.contains("PERDU") && !t.contains("OUBLIÉ"));
        // Section order and titles: marriages untitled, then contracts, then the others.
        QCOMPARE(textAtY(doc.pages[1], 500, 150), QString());
        QCOMPARE(textAtY(doc.pages[2], 500, 150), QStringLiteral("Contrats de Mariages"));
        QCOMPARE(textAtY(doc.pages[3], 500, 150), QStringLiteral("Signalés Ailleurs"));
        QCOMPARE(textAtY(doc.pages[4], 500, 150), QStringLiteral("Transcriptions"));
        QCOMPARE(textAtY(doc.pages[4], 5600, 16100), QStringLiteral("Page 4"));
    }

    void twentyRowsAPageAndTheRangeChosen()
    {
        const print::Listing l = print::collectListing(table(25, 30));
        QCOMPARE(l.pageCount(), 4);

        print::PageDoc all = print::listingDocument(l, 1, 4, m);
        QCOMPARE(all.pages.size(), 5);
        QCOMPARE(couples(all.pages[1]).size(), 20);
        QCOMPARE(couples(all.pages[4]).size(), 10);

        const print::PageDoc part = print::listingDocument(l, 2, 3, m);
        QCOMPARE(part.pages.size(), 3);
        QVERIFY(part.pages[0].textList().join(' ').contains("charte de bonne conduite"));
        QCOMPARE(textAtY(part.pages[1], 5600, 16100), QStringLiteral("Page 2"));
        QCOMPARE(couples(part.pages[1]), (QStringList{"MARIN021 Jean", "MARIN022 Jean", "MARIN023 Jean",
                                                      "MARIN024 Jean", "MARIN025 Jean"}));
        QCOMPARE(textAtY(part.pages[2], 5600, 16100), QStringLiteral("Page 3"));
        QCOMPARE(textAtY(part.pages[2], 500, 150), QStringLiteral("Congés"));
        QCOMPARE(couples(part.pages[2]).first(), QStringLiteral("CONGAR001 Jean"));
        QCOMPARE(couples(part.pages[2]).last(), QStringLiteral("CONGAR020 Jean"));

        // The range as the print dialog leaves it on the printer: all pages, a span,
        // or a list typed as "1, 3-4".
        QPrinter printer;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 9);
        QCOMPARE(print::chosenRange(printer, 4).last, 4);
        QPageRanges list;
        list.addPage(1);
        list.addRange(3, 4);
        printer.setPageRanges(list);
        const print::PageRange r = print::chosenRange(printer, 4);
        const print::PageDoc some = print::listingDocument(l, r, m);
        QCOMPARE(some.pages.size(), 4);
        QCOMPARE(textAtY(some.pages[2], 5600, 16100), QStringLiteral("Page 3"));
        QCOMPARE(textAtY(some.pages[3], 5600, 16100), QStringLiteral("Page 4"));
    }

    // A whole page against the page written by hand from the layout rules.
    void wholePage()
    {
        const QString row = QStringList{"03/05/1815", "KERBRAT Yves", "Plouzané (29)", "Jean +", "LE GALL Anne ",
                                        "MORVAN Jeanne", "LE ROUX Marie", "Saint-Pierre-Quilbignon (29)", "Pierre ",
                                        "TANGUY Rose +", " ", ""}
                                .join(u'\t');
        const Page p = print::listingPage(QStringLiteral("Congés"), QStringLiteral("Valbrune"), {row}, 3,
                                          pagedump::CharMeasure());
        QVERIFY(pagedump::same(pagedump::dump(p), pagedump::expected("listing_page.txt")));
    }

    void charterLinesFitAndKeepEveryWord()
    {
        for (int i = 0; i < 3; ++i) {
            const QString para = print::charterParagraph(i);
            const QStringList lines = print::wrapCharter(para, m);
            QVERIFY(lines.size() >= 3);
            QCOMPARE(lines.join(' '), para);
            const print::Font f{"Arial", 12};
            for (int k = 0; k < lines.size(); ++k) {
                QVERIFY(m.width(lines[k], f) <= 10000 - 50 - 1000);
                // A line ends where the next word would no longer fit.
                if (k + 1 < lines.size())
                    QVERIFY(m.width(lines[k] + ' ' + lines[k + 1].section(' ', 0, 0), f) > 8950);
            }
        }
        QVERIFY(print::charterParagraph(2).endsWith("\"Tables des mariages du site " + print::societySite() + "\"."));
        const QStringList word = print::wrapCharter(QString(120, 'W'), m);
        QVERIFY(word.size() > 1);
        QCOMPARE(word.join(QString()), QString(120, 'W'));

        const Page page = print::charterPage(m);
        QCOMPARE(page.texts.first().x, 1500.0);
        QCOMPARE(page.texts.first().y, 3500.0);
    }
};

QTEST_MAIN(TestPrintListing)
#include "test_print_listing.moc"
