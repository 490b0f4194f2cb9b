// Whole print commands driven through the hooks to PDF files, as a volunteer
// without a printer prints them.
#include "print/printjob.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "testutil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

namespace {

int pdfPages(const QString &path)
{
    const QByteArray pdf = readBytes(path);
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/")
               + pdf.count("/Type /Page ") + pdf.count("/Type /Page>"));
}

// The text of a PDF as pdftotext reads it back; empty when the tool is missing.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {"-enc", "UTF-8", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Recorder {
    QStringList asked, warned;
    QString docName;
    int dialogMin = 0, dialogMax = 0;
    bool answer = true;
    bool accept = true;
    QString output;
    int from = 0, to = 0;

    void install()
    {
        auto &h = print::hooks();
        h.ask = [this](QWidget *, const QString &caption, const QString &text) {
            asked << caption << text;
            return answer;
        };
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
};

QString rec(const QString &code, const QString &surname, int n)
{
    return recordLine({{"Type d'acte", code}, {"Nom EPX", surname + QString::number(n)}, {"Prenom EPX", "Jean"},
                       {"Nom EPSE", "TANGUY"}, {"Prenom EPSE", "Anne"}, {"Date", "03/05/1815"}});
}

} // namespace

class TestPrintPdf : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    Recorder r;

    QString tableFile(int ma, int cg)
    {
        QStringList lines{header(QStringLiteral("Valbrune"))};
        for (int i = 1; i <= ma; ++i)
            lines << rec("MA", "MARIN", 100 + i);
        for (int i = 1; i <= cg; ++i)
            lines << rec("CG", "CONGAR", 100 + i);
        const QString path = dir.filePath(QStringLiteral("Valbrune.krv"));
        writeBytes(path, fileBytes(lines));
        return path;
    }

    // An open table without records, for the card's footer.
    TableStore openTable()
    {
        TableStore table;
        table.setContent({header()}, dir.filePath("Valbrune.krv"));
        return table;
    }

private slots:
    void init()
    {
        r = Recorder();
        r.output = dir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(r.output);
        r.install();
    }
    void cleanupTestCase() { print::restoreDefaultHooks(); }

    void cardToPdf()
    {
        const TableStore table = openTable();
        EntryState e;
        QVERIFY(transfer::showLine(recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"},
                                               {"Nom EPX", "KERDUEL"}, {"Prenom EPX", "Yves"},
                                               {"Nom EPSE", "LE BIHAN"}, {"Prenom EPSE", "Maïwenn"},
                                               {"NomT1", "GUÉGUEN"}, {"AvecT1", "1"}}), e));
        e.recordNumber = "12";
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(r.asked, (QStringList{"Impression de la fiche active", "Souhaitez-vous imprimer la fiche active?"}));
        QCOMPARE(r.dialogMax, 1);
        QCOMPARE(r.docName, QStringLiteral("Valbrune - fiche 12"));
        QVERIFY(r.warned.isEmpty());
        QCOMPARE(pdfPages(r.output), 1);
        const QString text = pdfText(r.output);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        for (const char *s : {"Informations sur l'acte", "Valbrune - Saint-Martin", "KERDUEL Yves", "LE BIHAN Maïwenn",
                              "Avec: Epoux", "Contrat de Mariage", "Fiche n° 12 du fichier"})
            QVERIFY2(text.contains(QString::fromUtf8(s)), s);
    }

    void listingToPdfHonoursTheRange()
    {
        const QString path = tableFile(25, 30);
        printTableListing(nullptr, path);
        QCOMPARE(r.dialogMin, 1);
        QCOMPARE(r.dialogMax, 4);
        QCOMPARE(r.docName, QStringLiteral("Valbrune"));
        QCOMPARE(pdfPages(r.output), 5);

        r.from = 2;
        r.to = 3;
        printTableListing(nullptr, path);
        QVERIFY(r.warned.isEmpty());
        QCOMPARE(pdfPages(r.output), 3);
        const QString text = pdfText(r.output);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        const QStringList pages = text.split(QChar('\f'));
        QVERIFY(pages.size() >= 3);
        QVERIFY(pages[0].contains("charte de bonne conduite"));
        QVERIFY(pages[1].contains("Page 2") && pages[1].contains("MARIN125 Jean") && !pages[1].contains("MARIN120"));
        QVERIFY(pages[2].contains("Page 3") && pages[2].contains(QString::fromUtf8("Congés")));
        QVERIFY(pages[2].contains("CONGAR101 Jean") && pages[2].contains("TANGUY Anne"));
        QVERIFY(pages[2].contains(QString::fromUtf8("Table des mariages de la Société Généalogique de l'Orvane - ")
                                  + print::societySite()));
        QVERIFY(!text.contains("Page 4") && !text.contains("Page 1\n"));
    }

    void noCancelAndFailures()
    {
        const TableStore table = openTable();
        EntryState e;
        transfer::showNewRecord(e);
        // No to the question, then Cancel in the print dialog: nothing printed, nothing said.
        r.answer = false;
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(r.dialogMax, 0);
        r.answer = true;
        r.accept = false;
        MCImprimeFiche(nullptr, e, table);
        printTableListing(nullptr, tableFile(3, 0));
        QVERIFY(!QFile::exists(r.output));
        QVERIFY(r.warned.isEmpty());

        // The PDF cannot be written (no such folder): said, for both commands.
        r.accept = true;
        r.output = dir.filePath("no/such/folder/out.pdf");
        printTableListing(nullptr, tableFile(2, 0));
        MCImprimeFiche(nullptr, e, table);
        QCOMPARE(r.warned, QStringList(2, print::cannotStartText()));

        r.warned.clear();
        r.dialogMax = 0;
        printTableListing(nullptr, QString());
        // A file that cannot be read (here a folder in its place) is reported as held.
        printTableListing(nullptr, dir.path());
        QCOMPARE(r.warned, (QStringList{"Veuillez sélectionner une table",
                                        "Ce fichier est déjà utilisé par une autre application. Veuillez fermer le "
                                        "fichier puis recommencer"}));
        QCOMPARE(r.dialogMax, 0);
    }
};

QTEST_MAIN(TestPrintPdf)
#include "test_print_pdf.moc"
