#include "velderexport/exportjob.h"
#include "velderexport/exportwindow.h"
#include "velderexport/gedcom.h"
#include "testutil.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;
using namespace vexport;

namespace {
QString dataFile(const QString &name)
{
    return qEnvironmentVariable("VELDER_TEST_DATA") + "/velderexport/" + name;
}
// The GEDCOM of some record lines (numbered from 1) without the file header.
QString gedcomOf(const QStringList &records, Counts *counts = nullptr, QList<bool> *written = nullptr)
{
    QByteArray out;
    GedcomWriter w(out);
    for (int i = 0; i < records.size(); ++i) {
        const bool ok = w.record(i + 1, records.at(i));
        if (written)
            *written << ok;
    }
    if (counts)
        *counts = w.counts();
    return QString::fromUtf8(out).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
using Fields = QList<QPair<QString, QString>>;
} // namespace

class TestVelderExportGedcom : public QObject {
    Q_OBJECT
private slots:
    // Dates, ages and command lines, from tests/data/velderexport/values.txt.
    void values_data()
    {
        QTest::addColumn<QStringList>("row");   // kind, text, expected...
        for (const QString &l : testutil::dataLines(QStringLiteral("velderexport/values.txt")))
            QTest::newRow(qPrintable(l)) << l.split(u'|');
    }
    void values()
    {
        QFETCH(QStringList, row);
        if (row[0] != u"cmd") {
            QCOMPARE(row[0] == u"date" ? gedcomDate(row[1]) : gedcomAge(row[1]), row[2]);
            return;
        }
        QTemporaryDir dir;
        const QString table = dir.filePath(QStringLiteral("Lavernède.krv"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("complet.krv")), table) && writeBytes(dir.filePath(QStringLiteral("vide.krv")), ""));
        const QByteArray before = readBytes(table);
        const QStringList args = row[1].replace("%T", table).replace("%D", dir.path()).split(u' ');
        const int code = row[2].toInt();
        QString out, err;
        QCOMPARE(runCommandLine(args, out, err), code);
        QVERIFY2((code == 0 ? out : err).contains(row[3]), qPrintable(out + err));
        QVERIFY((code == 0 ? err : out).isEmpty());
        QCOMPARE(readBytes(table), before);
        if (code != 0)   // a failed export leaves no file behind
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }
    // Cases of tests/data/velderexport/rules.txt, then a long note.
    void recordRules_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QList<std::tuple<QString, Fields, QStringList, QStringList>> cases;
        for (QString l : testutil::dataLines(QStringLiteral("velderexport/rules.txt"))) {
            l.replace(u'~', u'\n');
            if (l.startsWith(u'='))
                cases.append({l.mid(2), {}, {}, {}});
            else if (l.startsWith(u'f'))
                std::get<1>(cases.last()) << QPair(l.mid(2).section(u'=', 0, 0), l.section(u'=', 1));
            else if (l.startsWith(u'+') || l.startsWith(u'-'))
                (l[0] == u'+' ? std::get<2>(cases.last()) : std::get<3>(cases.last())) << l.mid(2);
        }
        for (const auto &[name, fields, present, absent] : cases)
            QTest::newRow(qPrintable(name)) << fields << present << absent;
        QTest::newRow("notes: a TAB kept in them, a '@', an unassigned byte, a long text")
            << Fields{{"Nom EPX", "ARZEL"}, {"Notes", QString(196, u'a') + QStringLiteral(" bb cc\tx@y") + QString(199, u'z') + QChar(0x81)}}
            << QStringList{"1 NOTE " + QString(196, u'a') + " b\n2 CONC b cc x@@y" + QString(192, u'z') + "\n2 CONC zzzzzzz \n"}
            << QStringList{"\t"};
    }
    void recordRules()
    {
        QFETCH(Fields, fields); QFETCH(QStringList, present); QFETCH(QStringList, absent);
        const QString g = gedcomOf({recordLine(fields)});
        for (const QString &p : present)
            QVERIFY2(g.contains(p), qPrintable(p + QStringLiteral("\n--- in ---\n") + g));
        for (const QString &a : absent)
            QVERIFY2(!g.contains(a), qPrintable(a + QStringLiteral("\n--- in ---\n") + g));
        for (const QString &l : g.split(u'\n'))   // every line fits the 255 characters a reader may take
            QVERIFY(l.size() <= 255);
    }
    // Empty and damaged lines counted and skipped, the others keep their numbers; CSV quoting.
    void skippedLinesAndCsv()
    {
        Counts c;
        const QStringList records{recordLine({{"Nom EPX", "ARZEL"}}), record::emptyRecordLine("Valbrune", "Saint-Martin"),
                                  "ARZEL\tcoupé", QString(), recordLine({{"Nom EPSE", "LE \"GRAND\""}, {"Notes", "vu, relu; signé"}})};
        QList<bool> written;
        const QString g = gedcomOf(records, &c, &written);
        QCOMPARE(written, (QList<bool>{true, false, false, false, true}));
        QCOMPARE(std::tuple(c.records, c.empty, c.damaged, c.persons, c.families), std::tuple(2, 2, 1, 2, 2));
        QVERIFY(g.contains("0 @R1H@ INDI") && g.contains("0 @R5W@ INDI") && g.count(" INDI\n") == 2);
        QTemporaryDir dir;
        const QString table = dir.filePath("Abîmée.krv"), csv = dir.filePath("a.csv");
        QVERIFY(writeBytes(table, fileBytes(QStringList{header()} + records)));
        const Result r = exportTable(table, dir.filePath("a.ged"), Format::Gedcom);
        QVERIFY2(r.ok && r.message.endsWith(" Lignes ignorées : 2 vides, 1 abîmée."), qPrintable(r.message));
        // Python's csv module reads every field and number back (velderexport_csv); here the line ends.
        QVERIFY(exportTable(table, csv, Format::Csv).ok);
        const QByteArray rows = readBytes(csv);   // the header and rows 1 and 5, each ended by CR LF
        QVERIFY(rows.endsWith("\r\n") && rows.count("\r\n") == 3 && rows.count('\n') == 3);
        {   // a disk full before the last bytes: a failure, and no cut file
            const testutil::SizeLimit full(200);
            const Result cut = exportTable(table, dir.filePath("cut.csv"), Format::Csv);
            QVERIFY(!cut.ok && cut.message.startsWith("Impossible d'écrire le fichier "));
        }
        QVERIFY(!QFile::exists(dir.filePath("cut.csv")));
    }
    // A whole record against a file written by hand; the table, open in Velder, is left alone.
    void window()
    {
        QTemporaryDir dir;
        const QString table = dir.filePath("Lavernède.krv"), ged = dir.filePath("Lavernède.ged");
        QVERIFY(QFile::copy(dataFile("complet.krv"), table));
        QVERIFY(writeBytes(dir.filePath("Abers.krv"), fileBytes({header()})) && writeBytes(dir.filePath("Velder.lck"), "1"));
        const QByteArray before = readBytes(table);
        ExportWindow w(dir.path());
        QStringList reports;
        int questions = 0;
        w.report = [&](bool ok, const QString &m) { reports << (ok ? "ok|" : "erreur|") + m; };
        w.confirmOverwrite = [&](const QString &) { return ++questions > 1; };
        w.show();
        QCOMPARE(w.LstTables->count(), 2);
        QCOMPARE(w.LstTables->item(0)->text(), QStringLiteral("Abers.krv"));
        w.LstTables->setCurrentRow(1);
        QCOMPARE(QDir::fromNativeSeparators(w.TxtDestination->text()), ged);
        w.CmbFormat->setCurrentIndex(1);
        QCOMPARE(QDir::fromNativeSeparators(w.TxtDestination->text()), dir.filePath("Lavernède.csv"));
        w.CmbFormat->setCurrentIndex(0);
        QTest::mouseClick(w.CmdExporter, Qt::LeftButton);
        QCOMPARE(reports, QStringList{QStringLiteral("ok|1 acte, 14 personnes, 7 familles et 53 événements écrits dans %1.").arg(QDir::toNativeSeparators(ged))});
        QCOMPARE(readBytes(ged), readBytes(dataFile("complet.ged")));
        QCOMPARE(readBytes(table), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
        QVERIFY(writeBytes(ged, "garder"));   // an existing file is replaced only on Yes
        QTest::mouseClick(w.CmdExporter, Qt::LeftButton);
        QCOMPARE(std::pair(questions, readBytes(ged)), std::pair(1, QByteArray("garder")));
        QCOMPARE(reports.size(), 1);
        QTest::mouseClick(w.CmdExporter, Qt::LeftButton);
        QCOMPARE(readBytes(ged), readBytes(dataFile("complet.ged")));
        // A table of no record: nothing but the header, and the words in the singular.
        w.LstTables->setCurrentRow(0);
        QTest::mouseClick(w.CmdExporter, Qt::LeftButton);
        QCOMPARE(reports.last(), QStringLiteral("ok|0 acte, 0 personne, 0 famille et 0 événement écrits dans %1.")
                                     .arg(QDir::toNativeSeparators(dir.filePath("Abers.ged"))));
        QVERIFY(readBytes(dir.filePath("Abers.ged")).endsWith("1 TEXT 1800 à 1850, AD : 3E1\r\n0 TRLR\r\n"));
        w.LstTables->setCurrentRow(-1);
        QTest::mouseClick(w.CmdExporter, Qt::LeftButton);
        QCOMPARE(reports.last(), QStringLiteral("erreur|Veuillez sélectionner une table"));
    }
};

QTEST_MAIN(TestVelderExportGedcom)
#include "test_velderexport_gedcom.moc"
