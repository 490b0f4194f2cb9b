// The record card and the table listing against pages written by hand, measuring and cutting,
// sections, ranges, the charter; whole print commands through the hooks to PDF files.
#include "print/printjob.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "pagedump.h"
#include "testutil.h"

#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

using namespace testutil;
using print::Font;
using print::Page;

namespace {
print::Page card(const QString &line, const QString &number, const print::TextMeasure &m)
{
    EntryState s;
    if (!transfer::showLine(line, s))
        qFatal("not a record line");
    s.recordNumber = number;
    const print::PageDoc doc = print::recordCard(s, "/srv/tables/Valbrune.krv", m);
    return doc.pages.size() == 1 ? doc.pages[0] : print::Page();
}
QString rec(const QString &code, const QString &surname, const QString &first = "Jean", const QString &date = "03/05/1815")
{
    return recordLine({{"Type d'acte", code}, {"Nom EPX", surname}, {"Prenom EPX", first}, {"Date", date}});
}
// A table of `ma` marriages and `cg` leaves, surnames numbered so they sort in order.
QStringList table(int ma, int cg)
{
    QStringList lines{header()};
    for (int i = 1; i <= ma + cg; ++i)
        lines << (i <= ma ? rec("MA", QString("MARIN%1").arg(i, 3, 10, QChar('0'))) : rec("CG", QString("CONGAR%1").arg(i - ma, 3, 10, QChar('0'))));
    return lines;
}
// What pdftotext (or another PDF tool) reads in a PDF, page by page (every page holds text).
QStringList pdftotext(const QStringList &args, const QString &tool = "pdftotext")
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
}
// Where a word begins on the first page of a PDF, in points from the top-left corner of an A4 sheet.
QPointF pdfWordAt(const QString &path, const QString &word)
{
    const QString out = pdftotext({"-bbox", "-l", "1", path, "-"}).join(u' ');
    const auto m = QRegularExpression(R"re(xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>)re" + word + '<').match(out);
    if (!out.contains(R"(<page width="595.000000" height="842.000000">)") || !m.hasMatch())
        return {-1, -1};
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
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
} // namespace
Q_DECLARE_METATYPE(print::Page)

class TestPrintPages : public QObject {
    Q_OBJECT
    print::FontMeasure m;
    QTemporaryDir dir;
    QStringList asked, warned;
    QString job, output;   // job: the pages offered, the job's name, its paper, orientation and full page
    int from = 0, to = 0;
    bool answer = true, accept = true;
    QString tableFile(int ma, int cg)
    {
        writeBytes(dir.filePath("Valbrune.krv"), fileBytes(table(ma, cg)));
        return dir.filePath("Valbrune.krv");
    }

private slots:
    // Real widths, cut 50 twips short of the limit, as drawn on paper.
    void measuring()
    {
        const Font f{QStringLiteral("Arial"), 10};
        QVERIFY(m.width("M", f) > 140 && m.width("M", f) < 190);   // 10 points of "M" is about 166 twips
        QVERIFY(m.width("tout", Font{"Arial", 10, true}) > m.width("tout", f));
        QVERIFY(m.width("Œ€", f) > 250 && m.width("ĀŒ€", f) == m.width("Ā", f) + m.width("Œ", f) + m.width("€", f));   // beyond Latin-1
        const QString text = QStringLiteral("Saint-Aubin-des-Landes-sur-Orvane");
        const double w = m.width(text, f);
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 50), text);
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 49), text.chopped(1));
        const QString shorter = m.fit(text, f, 1000, 3000);
        QVERIFY(text.startsWith(shorter) && 1000 + m.width(shorter, f) <= 3000 - 50);
        QVERIFY(1000 + m.width(text.left(shorter.size() + 1), f) > 3000 - 50);
        QCOMPARE(m.fit(text, f, 2960, 3000), QString());
        // Drawn on a 2381-pixel-wide image (5 twips a pixel), the text ends where measured, kerning pairs (WA, AV, Ta) and all.
        const Font bold{"Arial", 12, true};
        const QString name = QStringLiteral("WAVRAY Yves, Tavelin-Avoy");
        print::Page page, rule;
        page.text(1000, 1000, name, bold);
        page.text(1000, 4000, "W", Font{"Arial", 40});   // another font, then the first one again
        page.text(1000, 6000, name, bold);
        rule.line(20, 1000, 180, 1000);
        QImage img(2381, 3368, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        print::drawPageOn(painter, page, img.width(), img.height());
        print::drawPageOn(painter, rule, print::PageWidth, print::PageHeight);   // a twip a pixel
        painter.end();
        int left = img.width(), right = -1, top = img.height();
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    left = qMin(left, x), right = qMax(right, x), top = qMin(top, y);
        QVERIFY(qAbs(left - 200) <= 3);
        const double end = (1000 + m.width(name, bold)) / 5;   // the ink stops a side bearing short
        QVERIFY2(right <= end + 1 && right >= end - 6, qPrintable(QString("ink ends at %1, measured %2").arg(right).arg(end)));
        QVERIFY(top >= 200 && top <= 215);   // the top-left corner is the position given
        int wTop = img.height(), wBottom = -1, again = -1;   // the 40-point W, then the name in its own font again
        for (int y = 700; y < 1300; ++y)
            for (int x = 200; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128)
                    y < 1100 ? (wTop = qMin(wTop, y), wBottom = qMax(wBottom, y)) : (again = qMax(again, x));
        QVERIFY(wBottom - wTop > 100 && again == right);
        int rows = 0;
        for (int y = 400; y < img.height(); ++y)
            rows += qGray(img.pixel(100, y)) < 128;
        QCOMPARE(rows, 5);   // a rule is a quarter of a point thick
    }
    // Whole pages against pages written by hand from the layout rules: the card, a listing page, the charter.
    void wholePage_data()
    {
        QTest::addColumn<Page>("page"), QTest::addColumn<QString>("expected");
        const pagedump::CharMeasure cm;
        QStringList f;
        for (int n = 1; n <= record::FieldCount; ++n)
            f << QStringLiteral("f%1").arg(n);
        f[2] = QStringLiteral("MA");
        f[4] = QStringLiteral("03/05/1815");
        f[5] = QStringLiteral("1");
        f[116] = QStringLiteral("1");   // AvecT1: the husband's witness
        QTest::newRow("card, every field") << card(record::joinFields(f), "12", cm) << "card_full.txt";
        QTest::newRow("card of a publication: a residence, the marriage's date and place")
            << card(recordLine({{"Type d'acte", "PB"}, {"Rés EPX", "Kervel"}, {"DateMA", "12/06/1815"}, {"LieuMA", "Lanvern"}}), "3", cm) << "card_empty.txt";
        const QString row = QStringList{"03/05/1815", "KERBRAT Yves", "Plouzané (29)", "Jean +", "LE GALL Anne ",
                                        "MORVAN Jeanne", "LE ROUX Marie", "Saint-Pierre-Quilbignon (29)", "Pierre ",
                                        "TANGUY Rose +", " ", ""}.join(u'\t');
        QTest::newRow("listing page") << print::listingPage("Congés", "Valbrune", {row}, 3, cm) << "listing_page.txt";
        QTest::newRow("charter") << print::charterPage(cm) << "charter_page.txt";
    }
    void wholePage()
    {
        QFETCH(Page, page); QFETCH(QString, expected);
        QVERIFY(pagedump::same(pagedump::dump(page), pagedump::expected(expected)));
    }
    void longTextsAreCutAtTheirLimits()
    {
        const QString longPlace = QStringLiteral("Saint-Guénolé-de-la-Haute-Forêt-sous-les-Monts-d'Orvane-et-Dépendances");
        const print::Page p = card(recordLine({{"Lieu", longPlace}, {"Paroisse", "Notre-Dame-des-Sept-Douleurs"},
                                               {"NomT2", "KERMARREC-LE-GOFF"}, {"PrenomT2", "Marie-Françoise Joséphine"}}), "12", m);
        const auto textAt = [&](double x, double y) {
            for (const auto &t : p.texts)
                if (qAbs(t.x - x) < 0.01 && qAbs(t.y - y) < 0.01)
                    return t;
            return print::TextOp{};
        };
        const print::TextOp place = textAt(4000, 700);
        const QString full = longPlace + " - Notre-Dame-des-Sept-Douleurs";
        QVERIFY(!place.text.isEmpty() && full.startsWith(place.text) && place.text.size() < full.size());
        QVERIFY(4000 + m.width(place.text, place.font) <= 11907 - 50 && 4000 + m.width(full.left(place.text.size() + 1), place.font) > 11907 - 50);
        const print::TextOp w2 = textAt(750 + 2626.75, 9700);
        QVERIFY(w2.text.startsWith("KERMARREC") && w2.text.size() < 43);
        QVERIFY(w2.x + m.width(w2.text, w2.font) <= 700 + 2 * 2626.75 - 50);
    }
    void rowCellsFollowTheRecord()
    {
        const QString line = recordLine({{"Date", "15/brum/04"}, {"Nom EPX", "KERDUEL"}, {"Prenom EPX", "Yves"},
            {"Org EPX", "Plouvern"}, {"Code Org EPX", "29"}, {"Prenom PEPX", "Jean"}, {"Evnt PEPX", "+"},
            {"Date evnt PEPX", "1801"}, {"Nom MEPX", "MADEC"}, {"Prenom MEPX", "Anne"}, {"Evnt MEPX", "+"},
            {"Date evnt MEPX", "1809"}, {"Nom EXEPX1", "LE GALL"}, {"Prenom EXEPX1", "Rose"}, {"Nom EPSE", "TANGUY"},
            {"Prenom EPSE", "Marie"}, {"Org EPSE", "Brelis"}, {"Prenom PEPSE", "Paul"}});
        QCOMPARE(print::listingRow(line),
                 QStringLiteral("15/brum/04\tKERDUEL Yves\tPlouvern (29)\tJean +\tMADEC Anne +\tLE GALL Rose\t"
                                "TANGUY Marie\tBrelis\tPaul \t  \t \t"));
        QCOMPARE(print::listingRow("MA\t\t\t\t1815"), QStringLiteral("1815\t \t\t \t  \t \t \t\t \t  \t \t"));   // a short line
        QStringList lines{header()}, sorted(6);   // sorted as the listing is built from a table
        for (const QStringList &c : testutil::caseRows("listing_order.txt"))
            sorted[c[3].toInt()] = print::listingRow(lines.emplace_back(rec("MA", c[0], c[1], c[2])));
        QCOMPARE(print::collectListing(lines).rows[0], sorted);
    }
    // Sections in order, twenty rows a page, unknown codes nowhere; the range of the print dialog.
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
        for (const QStringList &c : testutil::caseRows("listing_sections.txt"))
            all << QString("%1|Page %2|%3 Jean..%3 Jean|1").arg(c[1]).arg(page++).arg(c[0]);
        const print::PageDoc doc = print::listingDocument(l, 1, 11, m);
        QCOMPARE(summary(doc), all);
        QVERIFY(pagedump::dump(doc.pages[0]).join(' ').contains("charte de bonne conduite"));
        QCOMPARE(summary(print::listingDocument(l, 2, 4, m)), all.mid(1, 3));
        const Page full = print::listingPage("", "Valbrune", QStringList(21, print::listingRow(rec("MA", "PLEIN"))), 1, m);
        QCOMPARE(summary(print::PageDoc{{Page(), full}}).value(0).section('|', 3), QStringLiteral("20"));   // a page holds twenty
        QPrinter printer;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 19);
        const print::PageRange r = print::chosenRange(printer, 11);
        QCOMPARE(std::pair(r.first, r.last), std::pair(2, 11));   // from 2, to no further than the last
        QPageRanges list;   // typed as "1, 3-4"
        list.addPage(1);
        list.addRange(3, 4), printer.setPageRanges(list);
        QCOMPARE(summary(print::listingDocument(l, print::chosenRange(printer, 11), m)), (QStringList{all[0], all[2], all[3]}));
    }
    void charterLinesFitAndKeepEveryWord()
    {
        const print::Font f{"Arial", 12};
        for (const QString &para : print::charterParagraphs()) {
            const QStringList lines = print::wrapCharter(para, m);
            QVERIFY(lines.size() >= 3);
            QCOMPARE(lines.join(' '), para);
            for (int k = 0; k < lines.size(); ++k) {
                QVERIFY(m.width(lines[k], f) <= 10000 - 50 - 1000);
                if (k + 1 < lines.size())   // a line ends where the next word would no longer fit
                    QVERIFY(m.width(lines[k] + ' ' + lines[k + 1].section(' ', 0, 0), f) > 8950);
            }
        }
        // 89 characters of 100 twips fit; a longer word is cut; a one-letter word stays whole;
        // of two blanks in a row, the line ends after the last that fits.
        const QString w100(100, 'W');
        QCOMPARE(print::wrapCharter("a " + w100 + " b", pagedump::CharMeasure()), (QStringList{"a", w100.left(89), w100.left(11) + " b"}));
        QCOMPARE(print::wrapCharter(w100.left(88) + "  b", pagedump::CharMeasure()), (QStringList{w100.left(88) + ' ', "b"}));
        QCOMPARE(print::wrapCharter("ab c", pagedump::CharMeasure(10000)), (QStringList{"a", "b", "c"}));
        QCOMPARE(print::wrapCharter("ab cd ef", pagedump::CharMeasure(8950 / 5)), (QStringList{"ab cd", "ef"}));   // just fits
    }
    void init()
    {
        asked = warned = {}, output = dir.filePath("out.pdf"), job.clear();
        QFile::remove(output), from = to = 0, answer = accept = true;
        auto &h = print::hooks();
        h.ask = [this](QWidget *, const QString &caption, const QString &text) { asked << caption << text; return answer; };
        h.printDialog = [this](QWidget *, QPrinter &printer, int min, int max) {
            job = QString("%1-%2 %3 %4 %5 %6").arg(min).arg(max).arg(printer.docName()).arg(printer.pageLayout().pageSize().id())
                      .arg(printer.pageLayout().orientation()).arg(printer.fullPage());
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(output);
            // The volunteer picks another sheet, inside the printer's margins.
            printer.setPageSize(QPageSize(QPageSize::Letter));
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setFullPage(false);
            if (from > 0) {
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(from, to);
            }
            return accept;
        };
        h.warn = [this](QWidget *, const QString &text) { warned << text; };
    }
    // The real print dialog behind the hook: pages min to max, a range but no selection.
    void cleanupTestCase()
    {
        print::restoreDefaultHooks();
        QPrinter printer;
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto *d = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                seen = QString("%1 %2 %3 %4 %5 %6").arg(d->minPage()).arg(d->maxPage()).arg(d->testOption(QAbstractPrintDialog::PrintPageRange))
                           .arg(d->testOption(QAbstractPrintDialog::PrintSelection)).arg(d->testOption(QAbstractPrintDialog::PrintCurrentPage))
                           .arg(d->testOption(QAbstractPrintDialog::PrintToFile));
                d->reject();
            }
        });
        QVERIFY(!print::hooks().printDialog(nullptr, printer, 1, 4));
        QCOMPARE(seen, QString("1 4 1 0 0 1"));   // and a PDF file where no printer is
        auto answerBox = [&] { QTimer::singleShot(0, [&] {   // and the real message boxes, answered by Enter
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            seen = QString("%1|%2|%3").arg(box->windowTitle(), box->text()).arg(box->icon()), QTest::keyClick(box, Qt::Key_Return);
        }); };
        answerBox(), print::hooks().warn(nullptr, "Pas d'imprimante");
        QCOMPARE(seen, QString("Velder|Pas d'imprimante|%1").arg(QMessageBox::Warning));
        QVERIFY((answerBox(), print::hooks().ask(nullptr, "Impression", "Imprimer ?")));
        QCOMPARE(seen, QString("Impression|Imprimer ?|%1").arg(QMessageBox::Question));
    }
    void cardAndListingToPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        TableStore table;
        table.setContent({header()}, dir.filePath("Valbrune.krv"));
        EntryState e;
        QVERIFY(transfer::showLine(recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Nom EPX", "KERDUEL"},
                                               {"Prenom EPX", "Yves"}, {"Nom EPSE", "LE BIHAN"}, {"Prenom EPSE", "Maïwenn"}}), e));
        e.recordNumber = "12";
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(asked, (QStringList{"Impression de la fiche active", "Souhaitez-vous imprimer la fiche active?"}));
        QCOMPARE(job, QString("1-1 Valbrune - fiche 12 %1 %2 1").arg(QPageSize::A4).arg(QPageLayout::Portrait));
        QStringList pages = pdftotext({output, "-"});
        QVERIFY((pages.size() == 1 && pages[0].contains("KERDUEL Yves") && pages[0].contains("Maïwenn")
                 && pdftotext({output}, "pdffonts").join("").contains("LiberationSans-Italic")));   // the titles in italics
        // On an A4 sheet whatever the dialog chose, over the whole sheet: "Mariage" at 750, 1200 twips.
        QVERIFY((pdfWordAt(output, "Mariage") - QPointF(37.5, 60)).manhattanLength() < 1);
        const QString path = tableFile(25, 30);
        printTableListing(nullptr, path);
        QCOMPARE(job, QString("1-4 Valbrune %1 %2 1").arg(QPageSize::A4).arg(QPageLayout::Portrait));
        pages = pdftotext({output, "-"});
        QVERIFY(pages.size() == 5);
        from = 2, to = 3;
        printTableListing(nullptr, path);
        QVERIFY(warned.isEmpty());
        pages = pdftotext({output, "-"});
        QCOMPARE(pages.size(), 3);   // the charter, then pages 2 and 3
        QVERIFY(pages[0].contains("charte de bonne conduite"));
        QVERIFY(pages[1].contains("Page 2") && pages[1].contains("MARIN025 Jean") && !pages[1].contains("MARIN020"));
        QVERIFY(pages[2].contains("Page 3") && pages[2].contains(QString::fromUtf8("Congés")) && pages[2].contains("CONGAR001 Jean"));
    }
    void noCancelAndFailures()
    {
        TableStore table;
        EntryState e;
        transfer::showNewRecord(e);
        // No to the question, then Cancel in the print dialog: nothing printed, nothing said.
        answer = false, MCImprimeFiche(nullptr, e, table);
        QVERIFY(job.isEmpty());
        answer = true, accept = false, MCImprimeFiche(nullptr, e, table);
        printTableListing(nullptr, tableFile(0, 0));
        QVERIFY(job.startsWith("1-1 "));   // a table without records still offers its one page
        QVERIFY(!QFile::exists(output) && warned.isEmpty());
        // The PDF cannot be written (no such folder): said, for both commands.
        accept = true, output = dir.filePath("no/such/folder/out.pdf");
        printTableListing(nullptr, tableFile(2, 0));
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(warned, QStringList(2, "L'impression n'a pas pu commencer. Vérifiez l'imprimante choisie ou, pour un fichier, son dossier et son nom, puis recommencez."));
        struct Refusing : QPrinter { bool newPage() override { return false; } } refusing;   // e.g. the printer gone after page 1
        refusing.setOutputFileName(dir.filePath("cut.pdf")), print::printDocument(nullptr, print::PageDoc{QList<Page>(2)}, refusing);
        QCOMPARE(warned.last(), "L'impression a été interrompue : l'imprimante ou le fichier n'a pas reçu toutes les pages.");
        warned.clear(), job.clear();
        printTableListing(nullptr, QString()), printTableListing(nullptr, dir.filePath("gone.krv"));
        printTableListing(nullptr, dir.path());   // a folder where the file should be: reported as held
        QCOMPARE(warned, (QStringList{"Veuillez sélectionner une table", "La table sélectionnée est introuvable.",
                                      "Ce fichier est déjà utilisé par une autre application. Veuillez fermer le "
                                      "fichier puis recommencer"}));
        QVERIFY(job.isEmpty());
    }
};

QTEST_MAIN(TestPrintPages)
#include "test_print_pages.moc"
