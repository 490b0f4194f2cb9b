// Whole print commands driven through the hooks to PDF files, as a volunteer
// without a printer prints them; read back with pdftotext where it is installed.
#include "print/printjob.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "testutil.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

namespace {

// The pages of a PDF as pdftotext reads them; {"?"} when the tool is missing.
QStringList pdfPages(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        return {"?"};
    QProcess p;
    p.start(tool, {"-enc", "UTF-8", path, "-"});
    p.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    pages.removeLast();   // after the last form feed
    return pages;
}

QString rec(const QString &code, const QString &surname)
{
    return recordLine({{"Type d'acte", code}, {"Nom EPX", surname}, {"Prenom EPX", "Jean"}, {"Nom EPSE", "TANGUY"},
                       {"Prenom EPSE", "Anne"}, {"Date", "03/05/1815"}});
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QStringList asked, warned;
    QString docName, output;
    int dialogMin = 0, dialogMax = 0, from = 0, to = 0;
    bool answer = true, accept = true;

    QString tableFile(int ma, int cg)
    {
        QStringList lines{header()};
        for (int i = 1; i <= ma + cg; ++i)
            lines << (i <= ma ? rec("MA", QString("MARIN%1").arg(100 + i)) : rec("CG", QString("CONGAR%1").arg(100 + i - ma)));
        const QString path = dir.filePath("Valbrune.krv");
        writeBytes(path, fileBytes(lines));
        return path;
    }

private slots:
    void init()
    {
        asked.clear();
        warned.clear();
        output = dir.filePath("out.pdf");
        QFile::remove(output);
        dialogMin = dialogMax = from = to = 0;
        answer = accept = true;
        auto &h = print::hooks();
        h.ask = [this](QWidget *, const QString &caption, const QString &text) { asked << caption << text; return answer; };
        h.printDialog = [this](QWidget *, QPrinter &printer, int min, int max) {
            dialogMin = min;
            dialogMax = max;
            docName = printer.docName();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(output);
            if (from > 0) {
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(from, to);
            }
            return accept;
        };
        h.warn = [this](QWidget *, const QString &text) { warned << text; };
    }
    void cleanupTestCase() { print::restoreDefaultHooks(); }

    void cardAndListingToPdf()
    {
        TableStore table;
        table.setContent({header()}, dir.filePath("Valbrune.krv"));
        EntryState e;
        QVERIFY(transfer::showLine(recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Nom EPX", "KERDUEL"},
                                               {"Prenom EPX", "Yves"}, {"Nom EPSE", "LE BIHAN"}, {"Prenom EPSE", "Maïwenn"}}), e));
        e.recordNumber = "12";
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(asked, (QStringList{"Impression de la fiche active", "Souhaitez-vous imprimer la fiche active?"}));
        QCOMPARE(std::pair(dialogMin, dialogMax), std::pair(1, 1));
        QCOMPARE(docName, QStringLiteral("Valbrune - fiche 12"));
        QStringList pages = pdfPages(output);
        QVERIFY(pages == QStringList{"?"} || (pages.size() == 1 && pages[0].contains("KERDUEL Yves") && pages[0].contains("Maïwenn")));

        const QString path = tableFile(25, 30);
        printTableListing(nullptr, path);
        QCOMPARE(std::pair(dialogMin, dialogMax), std::pair(1, 4));
        QCOMPARE(docName, QStringLiteral("Valbrune"));
        pages = pdfPages(output);
        QVERIFY(pages == QStringList{"?"} || pages.size() == 5);
        from = 2;
        to = 3;
        printTableListing(nullptr, path);
        QVERIFY(warned.isEmpty());
        pages = pdfPages(output);
        if (pages == QStringList{"?"})
            QSKIP("pdftotext is not installed");
        QCOMPARE(pages.size(), 3);   // the charter, then pages 2 and 3
        QVERIFY(pages[0].contains("charte de bonne conduite"));
        QVERIFY(pages[1].contains("Page 2") && pages[1].contains("MARIN125 Jean") && !pages[1].contains("MARIN120"));
        QVERIFY(pages[2].contains("Page 3") && pages[2].contains(QString::fromUtf8("Congés")));
        QVERIFY(pages[2].contains("CONGAR101 Jean") && pages[2].contains("TANGUY Anne"));
    }

    void noCancelAndFailures()
    {
        TableStore table;
        EntryState e;
        transfer::showNewRecord(e);
        // No to the question, then Cancel in the print dialog: nothing printed, nothing said.
        answer = false;
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(dialogMax, 0);
        answer = true;
        accept = false;
        MCImprimeFiche(nullptr, e, table);
        printTableListing(nullptr, tableFile(3, 0));
        QVERIFY(!QFile::exists(output) && warned.isEmpty());
        // The PDF cannot be written (no such folder): said, for both commands.
        accept = true;
        output = dir.filePath("no/such/folder/out.pdf");
        printTableListing(nullptr, tableFile(2, 0));
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(warned, QStringList(2, print::cannotStartText()));
        warned.clear();
        dialogMax = 0;
        printTableListing(nullptr, QString());
        printTableListing(nullptr, dir.path());   // a folder where the file should be: reported as held
        QCOMPARE(warned, (QStringList{"Veuillez sélectionner une table",
                                      "Ce fichier est déjà utilisé par une autre application. Veuillez fermer le "
                                      "fichier puis recommencer"}));
        QCOMPARE(dialogMax, 0);
    }
};

QTEST_MAIN(TestPrintPdf)
#include "test_print_pdf.moc"
