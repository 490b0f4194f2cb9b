// Time of the table listing: reading and sorting the rows, laying the pages out,
// and rendering the whole booklet to a PDF file.
//   bench_print_listing                      a made-up table of 20,000 records
//   bench_print_listing TABLE OUTDIR [N]     that table's listing, and the card of
//                                            record N (default 1), as PDF files in OUTDIR
#include "print/printjob.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "store/transfer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QStringList madeUpTable(int n)
{
    const QStringList surnames{"KERDUEL", "LE BIHAN", "TANGUY", "Dubois", "DURAND", "GUÉGUEN", "MADEC", "ŒUVRAY",
                               "de la FOUGERAIS", "QUÉMÉNEUR", "ARZEL", "CADIOU", "PENVERN", "HAMON"};
    const QStringList firsts{"Yves", "Marie", "Jean", "Anne Françoise", "Pierre", "Jeanne", "Hervé", "Louise"};
    const QStringList places{"Valbrune", "Plouvern", "Lanvic", "Trévallec", "Brelis", "Saint-Guénolé-des-Monts"};
    const QStringList codes{"MA", "MA", "MA", "MA", "MA", "MA", "CG", "CM", "PB", "DV", "RH", "CT", "SA", "TC"};
    QRandomGenerator rng(1815);
    auto pick = [&](const QStringList &l) { return l.at(rng.bounded(int(l.size()))); };
    QStringList lines{QStringLiteral("Valbrune\t1790 à 1900_AD : 3E1\tAna\tSaint-Martin")};
    for (int i = 0; i < n; ++i) {
        QStringList f;
        for (int p = 0; p < record::FieldCount; ++p)
            f << QString();
        f[0] = "Valbrune";
        f[2] = pick(codes);
        f[4] = QStringLiteral("%1/%2/%3").arg(1 + rng.bounded(28), 2, 10, QChar('0'))
                   .arg(1 + rng.bounded(12), 2, 10, QChar('0')).arg(1790 + rng.bounded(110));
        f[5] = "0";
        for (int w = 0; w <= 50; w += 50) {
            f[6 + w] = pick(surnames);
            f[7 + w] = pick(firsts);
            f[8 + w] = pick(places);
            f[9 + w] = rng.bounded(2) ? "22" : "";
            f[17 + w] = pick(firsts);
            f[18 + w] = rng.bounded(2) ? "+" : "";
            f[27 + w] = pick(surnames);
            f[28 + w] = pick(firsts);
        }
        lines << record::joinFields(f);
    }
    return lines;
}

double ms(QElapsedTimer &t) { return t.nsecsElapsed() / 1e6; }

bool toPdf(const print::PageDoc &doc, const QString &name, const QString &path)
{
    QPrinter printer(QPrinter::HighResolution);
    print::setupPrinter(printer, name);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return print::render(doc, &printer) == print::RenderResult::Ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QStringList lines;
    QTemporaryDir tmp;
    QString outDir = tmp.path();
    if (args.size() >= 2) {
        if (!readLines(args[0], lines)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args[0]));
            return 1;
        }
        outDir = args[1];
        TableStore table;
        table.load(args[0]);
        EntryState e;
        e.recordNumber = QString::number(args.size() > 2 ? args[2].toInt() : 1);
        if (transfer::show(table, e, transfer::Typed, e.recordNumber.toInt()) != transfer::Result::Ok)
            return 1;
        print::FontMeasure m;
        const QString card = outDir + "/card.pdf";
        std::printf("card of record %s: %s\n", qPrintable(e.recordNumber),
                    toPdf(print::recordCard(e, QFileInfo(args[0]).absoluteFilePath(), m), "card", card) ? qPrintable(card)
                                                                                                 : "failed");
    } else {
        lines = madeUpTable(20000);
    }

    QElapsedTimer t;
    t.start();
    print::FontMeasure m;
    m.width(QStringLiteral("x"), print::Font{});   // the font database opens once per program run
    std::printf("fonts ready: %.1f ms\n", ms(t));
    t.restart();
    const print::Listing listing = print::collectListing(lines);
    const double collect = ms(t);
    t.restart();
    const print::PageDoc doc = print::listingDocument(listing, 1, listing.pageCount(), m);
    const QString name = print::jobName(args.size() >= 2 ? args[0] : QStringLiteral("Valbrune.krv"));
    const double layout = ms(t);
    {
        // The same layout with a constant-width measure: what building the pages costs alone.
        struct Flat : print::TextMeasure {
            double width(const QString &s, const print::Font &f) const override { return s.size() * f.size * 10; }
        } flat;
        t.restart();
        const print::PageDoc again = print::listingDocument(listing, 1, listing.pageCount(), flat);
        std::printf("layout without font measuring: %.1f ms (%lld pages)\n", ms(t), qlonglong(again.pages.size()));
    }
    t.restart();
    const QString pdf = outDir + "/listing.pdf";
    const bool ok = toPdf(doc, name, pdf);
    const double render = ms(t);
    std::printf("%lld records, %d listing pages\n", qlonglong(lines.size() - 1), listing.pageCount());
    std::printf("rows and sort: %.1f ms\nlayout: %.1f ms\nrender to PDF: %.1f ms (%s)\n", collect, layout, render,
                ok ? qPrintable(pdf) : "failed");
    return ok ? 0 : 1;
}
