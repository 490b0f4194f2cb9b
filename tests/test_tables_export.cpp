#include "tables/export.h"
#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "testutil.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

namespace {

// The header row a spreadsheet user sees, written out in full on purpose: the
// doubled blanks and the odd names are part of what other programs expect.
const char16_t *const ExpectedHeader =
    u"N°;Lieu;Paroisse;Type d'acte;Cote;Date;Dispense;Nom EPX;Prenom EPX;Org EPX;Code Org EPX;Naiss EPX;"
    u"Age EPX;Rés EPX;Code rés EPX;Profession EPX;Rq EPX;Nom PEPX;Prenom PEPX;Evnt PEPX;Date evnt PEPX;"
    u"Age PEPX;Org PEPX;Code Org  PEPX;Rés PEPX;Code Rés PEPX;Prof PEPX;Rq PEPX;Nom MEPX;Prenom MEPX;"
    u"Evnt MEPX;Date evnt MEPX;Age MEPX;Org MEPX;Org  MEPX;Rés MEPX;Code Rés MEPX;Prof MEPX;Rq MEPX;"
    u"Nom EXEPX1;Prenom EXEPX1;Date evnt EXEP1;Org EXEPX1;Code Org EXEPX1;Rés EXEPX1;Code Rés EXEPX1;"
    u"Prof EXEPX1;Rq EXEPX1;Nom EXEPX2;Prenom EXEPX2;Date evnt EXEP2;Org EXEPX2;Code Org EXEPX2;Rés EXEPX2;"
    u"Code Rés EXEPX2;Prof EXEPX2;Rq EXEPX2;Nom EPSE;Prenom EPSE;Org EPSE;Code Org EPSE;Naiss EPSE;"
    u"Age EPSE;Rés EPSE;Code rés EPSE;Prof EPSE;Rq EPSE;Nom PEPSE;Prenom PEPSE;Evnt PEPSE;Date evnt PEPSE;"
    u"Age PEPSE;Org PEPSE;Code Org  PEPSE;Rés PEPSE;Code Rés PEPSE;Prof PEPSE;Rq PEPSE;Nom MEPSE;"
    u"Prenom MEPSE;Evnt MEPSE;Date evnt MEPSE;Age MEPSE;Org MEPSE;Org  MEPSE;Rés MEPSE;Code Rés MEPSE;"
    u"Prof MEPSE;Rq MEPSE;Nom EXEPSE1;Prenom EXEPSE1;Date evnt EXEPSE1;Org EXEPSE1;Code Org EXEPSE1;"
    u"Rés EXEPSE1;Code Rés EXEPSE1;Prof EXEPSE1;Rq EXEPSE1;Nom EXEPSE2;Prenom EXEPSE2;Date evnt EXEPSE2;"
    u"Org EXEPSE2;Code Org EXEPSE2;Rés EXEPSE2;Code Rés EXEPSE2;Prof EXEPSE2;Rq EXEPSE2;NomT1;PrenomT1;"
    u"SexeT1;AgeT1;OrgT1;Code OrgT1;RésT1;Code RésT1;ProfT1;ParentéT1;AvecT1;RqT1;NomT2;PrenomT2;SexeT2;"
    u"AgeT2;OrgT2;Code OrgT2;RésT2;Code RésT2;ProfT2;ParentéT2;AvecT2;RqT2;NomT3;PrenomT3;SexeT3;AgeT3;"
    u"OrgT3;Code OrgT3;RésT3;Code RésT3;ProfT3;ParentéT3;AvecT3;RqT3;NomT4;PrenomT4;SexeT4;AgeT4;OrgT4;"
    u"Code OrgT4;RésT4;Code RésT4;ProfT4;ParentéT4;AvecT4;RqT4;DateCM;LieuCM;NomCM;DateMA;LieuMA;"
    u"° de parenté;Notes";

QString threeRecords(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Valbrune.krv"));
    writeBytes(path, fileBytes({header(),
                                recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Date", "03/05/1815"},
                                            {"Nom EPX", "ROUVELLE"}, {"Prenom EPX", "Aubin"}, {"Notes", "vu; relu"}}),
                                fullRecordLine(2),
                                recordLine({{"Type d'acte", "CM"}, {"Date", "15/Brum/04"}, {"Nom EPSE", "de la CHAUME"}})}));
    return path;
}

// The lines of a CSV file, empty if any of them does not end in CR LF.
QList<QByteArray> csvLines(const QString &path)
{
    // Rows end with CR LF; a line feed inside a field stays in its row.
    QByteArray bytes = readBytes(path);
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
        return {};
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype end = bytes.indexOf("\r\n", at);
        lines << bytes.mid(at, end - at);
        at = end + 2;
    }
    return lines;
}

// The dialogs of one click on "Exporter", answered in order and written down.
struct Script {
    QStringList answers;                // save dialog answers ("" = cancel)
    QList<bool> yesNo;                  // overwrite answers
    QStringList titles, filters, defaults, questions, messages;
    int dialogs = 0;
    exporter::Result click(const QString &table, std::function<void()> hide = {})
    {
        exporter::Hooks h;
        h.saveFileName = [this](QWidget *, const QString &title, const QString &def, const QString &filter) {
            titles << title;
            filters << filter;
            defaults << def;
            return answers.value(dialogs++);
        };
        h.askYesNo = [this](QWidget *, const QString &text, const QString &title) {
            questions << title + u'|' + text;
            return !yesNo.isEmpty() && yesNo.takeFirst();
        };
        h.inform = [this](QWidget *, const QString &text, const QString &title) { messages << title + u'|' + text; };
        h.failed = [this](QWidget *, const QString &text, const QString &title) { messages << title + u'!' + text; };
        if (hide)
            h.hideEntryWindow = hide;
        return exporter::CmdExporter_Click(nullptr, table, h);
    }
};

} // namespace

class TestTablesExport : public QObject {
    Q_OBJECT
private slots:
    void headerAndRows()
    {
        QTemporaryDir dir;
        const QString table = threeRecords(dir.path());
        const QByteArray before = readBytes(table);
        const QString csv = dir.filePath(QStringLiteral("sortie.csv"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QCOMPARE(readBytes(table), before);

        const QList<QByteArray> lines = csvLines(csv);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), cp1252::encode(QString::fromUtf16(ExpectedHeader)));
        QStringList records;
        QVERIFY(readLines(table, records));
        for (int n = 1; n <= 3; ++n) {
            const QStringList cols = cp1252::decode(lines.at(n)).split(u';');
            QStringList fields;
            QVERIFY(record::splitFields(records.at(n), fields));
            QCOMPARE(cols.at(0), QString::number(n));
            // Row 1 holds "vu; relu" in its notes: one more column, as written.
            QCOMPARE(cols.size(), n == 1 ? 163 : 162);
            QCOMPARE(cols.mid(1, 160), fields.mid(0, 160));
        }
        // Nothing translated, accents in Windows-1252.
        QVERIFY(lines.at(1).endsWith("vu; relu"));
        QVERIFY(lines.at(2).contains(";CM;v2\xe9" "4;03/05/1815;1;"));
        QVERIFY(lines.at(3).startsWith("3;;;CM;;15/Brum/04;0;"));

        // A header-only table gives the header row alone (".CSV" in any case).
        writeBytes(table, fileBytes({header()}));
        const QString upper = dir.filePath(QStringLiteral("vide.CSV"));
        QCOMPARE(exporter::exportTable(table, upper), exporter::Result::Written);
        QCOMPARE(csvLines(upper), QList<QByteArray>{lines.at(0)});

        // A line too short to split ends the export; the rows before it stay.
        writeBytes(table, fileBytes({header(), fullRecordLine(1), QStringLiteral("coupé\tici"), fullRecordLine(3)}));
        QString why;
        QCOMPARE(exporter::exportTable(table, csv, &why), exporter::Result::Failed);
        QCOMPARE(why, QStringLiteral("la ligne de l'enregistrement 2 n'a pas ses 161 champs ; le fichier ne contient "
                                     "que les enregistrements qui la précèdent"));
        QCOMPARE(csvLines(csv).size(), 2);
        QVERIFY(csvLines(csv).at(1).startsWith("1;v1"));
    }

    void lineEndsAcrossReadBlocks()
    {
        // Rows follow the table's lines whatever their ends, also where a CR LF
        // falls across two read blocks (1 MiB) of the export; a line feed inside a
        // field stays in its row.
        QTemporaryDir dir;
        const QString table = dir.filePath(QStringLiteral("Fins.krv"));
        const QByteArray r1 = cp1252::encode(fullRecordLine(1));
        QByteArray bytes = cp1252::encode(header()) + "\r\n";
        while (bytes.size() + 2 * (r1.size() + 2) < (1 << 20) - 1)
            bytes += r1 + "\r\n";
        QString padded = fullRecordLine(2);
        padded.insert(2, QString((1 << 20) - 1 - bytes.size() - int(cp1252::encode(padded).size()), u'x'));
        bytes += cp1252::encode(padded) + "\r\n";
        QCOMPARE(bytes.at((1 << 20) - 1), '\r');
        bytes += r1 + "\n" + r1 + "\r" + cp1252::encode(fullRecordLine(3) + QStringLiteral("\tsuite"));
        writeBytes(table, bytes);

        const QString csv = dir.filePath(QStringLiteral("fins.csv"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QStringList records;
        QVERIFY(readLines(table, records));
        const QList<QByteArray> lines = csvLines(csv);
        QCOMPARE(lines.size(), records.size());
        for (int i = 1; i < records.size(); ++i) {
            QString row;
            QVERIFY(exporter::csvRow(i, records.at(i), row));
            QCOMPARE(lines.at(i), cp1252::encode(row));
        }
        // A TAB after the 160th stays inside the notes.
        QVERIFY(lines.last().endsWith("\tsuite"));
        QCOMPARE(lines.last().count(';'), 161);

        // A table from another system, LF alone, gives the rows of its CR LF twin.
        const QByteArray crlf = fileBytes({header(), fullRecordLine(1), fullRecordLine(2)});
        writeBytes(table, crlf);
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        const QByteArray expected = readBytes(csv);
        writeBytes(table, QByteArray(crlf).replace("\r\n", "\n"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QCOMPARE(readBytes(csv), expected);
        QCOMPARE(csvLines(csv).size(), 3);
    }

    void copiesByteForByte()
    {
        QTemporaryDir dir;
        const QString table = threeRecords(dir.path());
        // Bytes that no character of ours uses still travel unchanged.
        const QByteArray bytes = readBytes(table) + QByteArray("\x81\x8d\x9d\tx\r\n", 7);
        writeBytes(table, bytes);
        for (const char *name : {"b.KRV", "c.Krv", "f.TXT", "Valbrune.krv" /* onto itself */}) {
            const QString target = dir.filePath(QString::fromLatin1(name));
            QCOMPARE(exporter::exportTable(table, target), exporter::Result::Written);
            QCOMPARE(readBytes(target), bytes);
        }
        for (const char *name : {"g", "i.csv.bak", "k.cs"}) {
            QCOMPARE(exporter::exportTable(table, dir.filePath(QString::fromLatin1(name))), exporter::Result::Nothing);
            QVERIFY(!QFileInfo::exists(dir.filePath(QString::fromLatin1(name))));
        }
    }

    void dialogFlow()
    {
        QTemporaryDir dir;
        const QString table = threeRecords(dir.path());
        const QByteArray tableBytes = readBytes(table);

        Script none;   // nothing selected: the message, and no dialog
        QCOMPARE(none.click(QString()), exporter::Result::Nothing);
        QCOMPARE(none.messages, QStringList{QStringLiteral("VELDER|Veuillez sélectionner une table")});
        QCOMPARE(none.dialogs, 0);

        Script cancel;   // the dialog's title, filters and default name; a cancel writes nothing
        int hidden = 0;
        QCOMPARE(cancel.click(table, [&] { ++hidden; }), exporter::Result::Nothing);
        QCOMPARE(cancel.titles, QStringList{QStringLiteral("Exportation d'une table...")});
        QCOMPARE(cancel.filters.value(0), QStringLiteral("Fichiers KRV (*.KRV);;Fichiers Texte (séparateur: tabul.) "
                                                         "(*.TXT);;Fichiers Excel (*.CSV)"));
        QCOMPARE(QFileInfo(cancel.defaults.value(0)).fileName(), QStringLiteral("Valbrune"));
        QCOMPARE(hidden, 1);

        // An existing file: No brings the dialog back; another name is written there only.
        const QString existing = dir.filePath(QStringLiteral("ancien.csv"));
        writeBytes(existing, "ne pas perdre");
        const QString other = dir.filePath(QStringLiteral("autre.krv"));
        Script no{{existing, other}, {false}};
        QCOMPARE(no.click(table), exporter::Result::Written);
        QCOMPARE(no.dialogs, 2);
        QCOMPARE(no.questions, QStringList{QStringLiteral("Le fichier existe déjà...|Le fichier existe déjà. "
                                                          "Voulez-vous l'écraser?")});
        QCOMPARE(readBytes(existing), QByteArray("ne pas perdre"));
        QCOMPARE(readBytes(other), tableBytes);

        Script yes{{existing}, {true}};   // Yes replaces it, for good after a power cut too
        QStringList synced;
        filesync::setSyncWatcher([&synced](const QString &folder) { synced << folder; });
        QCOMPARE(yes.click(table), exporter::Result::Written);
        QCOMPARE(exporter::exportTable(table, other), exporter::Result::Written);
        filesync::setSyncWatcher({});
        QCOMPARE(synced, (QStringList{dir.path(), dir.path()}));
        QCOMPARE(csvLines(existing).size(), 4);

        // A place that takes no file: nothing written, and the user is told why.
        const QString underFile = QDir(table).filePath(QStringLiteral("sortie.csv"));
        const QString folder = dir.filePath(QStringLiteral("Dossier.krv"));
        QDir().mkdir(folder);
        Script refused{{underFile, folder}, {true}};
        QCOMPARE(refused.click(table), exporter::Result::Failed);
        QCOMPARE(refused.click(table), exporter::Result::Failed);
        QCOMPARE(refused.messages,
                 (QStringList{QStringLiteral("VELDER!L'exportation dans le fichier\n%1\nn'a pas abouti : « %2 » est un "
                                             "fichier, pas un dossier.").arg(underFile, table),
                              QStringLiteral("VELDER!L'exportation dans le fichier\n%1\nn'a pas abouti : un dossier "
                                             "porte déjà ce nom.").arg(folder)}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size(), 4);

        // A write that fails on the way (a full disk, here a size limit): the
        // system's reason, not that of giving the file up.
        const QString big = dir.filePath(QStringLiteral("Grande.krv"));
        QStringList many{header()};
        for (int i = 0; i < 60; ++i)
            many << fullRecordLine(i);
        writeBytes(big, fileBytes(many));
        Script tooBig{{dir.filePath(QStringLiteral("grande.csv")), dir.filePath(QStringLiteral("grande.krv"))}};
        {
            const SizeLimit limit(16 * 1024);
            QCOMPARE(tooBig.click(big), exporter::Result::Failed);
            QCOMPARE(tooBig.click(big), exporter::Result::Failed);
        }
        for (const QString &said : std::as_const(tooBig.messages))
            QVERIFY2(said.endsWith(QStringLiteral(" : le fichier dépasserait la taille que le système permet.")),
                     qPrintable(said));
        QCOMPARE(tooBig.messages.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size(), 5);

        // "Fichiers Excel" chosen but no ".csv" typed: nothing written.
        Script bare{{dir.filePath(QStringLiteral("tableur"))}};
        QCOMPARE(bare.click(table), exporter::Result::Nothing);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("tableur"))));
        QCOMPARE(readBytes(table), tableBytes);
    }
};

QTEST_MAIN(TestTablesExport)
#include "test_tables_export.moc"
