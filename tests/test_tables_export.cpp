#include "tables/export.h"
#include "tables/filefilter.h"
#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "testutil.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace testutil;

namespace {
// A file of tests/data/ (UTF-8, LF) as the Windows-1252 bytes with CR LF it stands for.
QByteArray expectedFile(const QString &name)
{
    QStringList lines = QString::fromUtf8(readBytes(qEnvironmentVariable("VELDER_TEST_DATA") + u'/' + name)).split(u'\n');
    if (lines.size() < 2)
        qFatal("cannot read test data %s", qPrintable(name));
    lines.removeLast();
    return fileBytes(lines);
}
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
qsizetype entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size();
}
// The dialogs of one click on "Exporter", answered in order and written down.
struct Script {
    QStringList answers;   // save dialog answers ("" = cancel)
    QList<bool> yesNo;     // overwrite answers
    QStringList dialogs, questions, messages;
    exporter::Result click(const QString &table, std::function<void()> hide = {})
    {
        exporter::Hooks h;
        h.saveFileName = [this](QWidget *, const QString &title, const QString &def, const QString &filter) {
            dialogs << title + u'|' + QFileInfo(def).fileName() + u'|' + filter;
            return answers.value(dialogs.size() - 1);
        };
        h.askYesNo = [this](QWidget *, const QString &text, const QString &title) {
            questions << title + u'|' + text;
            return !yesNo.isEmpty() && yesNo.takeFirst();
        };
        h.inform = [this](QWidget *, const QString &text, const QString &title) { messages << title + u'|' + text; };
        h.failed = [this](QWidget *, const QString &text, const QString &title) { messages << title + u'!' + text; };
        h.hideEntryWindow = hide;
        return exporter::CmdExporter_Click(nullptr, table, h);
    }
};
} // namespace

class TestTablesExport : public QObject {
    Q_OBJECT
private slots:
    void csvFile()
    {
        QTemporaryDir dir;
        const QString table = threeRecords(dir.path());
        const QByteArray before = readBytes(table);
        const QString csv = dir.filePath(QStringLiteral("sortie.csv"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QCOMPARE(readBytes(table), before);
        const QByteArray expected = expectedFile(QStringLiteral("export_valbrune.csv"));
        QCOMPARE(readBytes(csv), expected);
        {   // a disk full before the end, however small the file: nothing written
            const SizeLimit limit(before.size() - 10);
            QCOMPARE(exporter::exportTable(table, dir.filePath(QStringLiteral("plein.csv"))), exporter::Result::Failed);
            QCOMPARE(exporter::exportTable(table, dir.filePath(QStringLiteral("plein.krv"))), exporter::Result::Failed);
        }
        QCOMPARE(entries(dir.path()), 2);
        // Any other name but ".csv" copies the table, bytes no character of ours uses included.
        const QByteArray odd = before + QByteArray("\x81\x8d\x9d\tx\r\n", 7);
        writeBytes(table, odd);
        for (const auto &[name, copy] : {std::pair{"b.KRV", true}, {"c.Krv", true}, {"f.TXT", true}, {"g", false},
                                         {"Valbrune.krv", true} /* onto itself */, {"i.csv.bak", false}, {"k.cs", false}}) {
            const QString target = dir.filePath(QString::fromLatin1(name));
            QCOMPARE(exporter::exportTable(table, target), copy ? exporter::Result::Written : exporter::Result::Nothing);
            QCOMPARE(readBytes(target), copy ? odd : QByteArray());
        }
        const QByteArray headerRow = expected.left(expected.indexOf('\n') + 1);
        // The same table written on another system (LF alone) gives the same file.
        writeBytes(table, QByteArray(before).replace("\r\n", "\n"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QCOMPARE(readBytes(csv), expected);
        // A header-only table gives the header row alone (".CSV" in any case).
        writeBytes(table, fileBytes({header()}));
        QCOMPARE(exporter::exportTable(table, dir.filePath(QStringLiteral("vide.CSV"))), exporter::Result::Written);
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("vide.CSV"))), headerRow);
        // A line too short to split ends the export, within the file or last without its line end; the rows before it stay.
        for (const QByteArray &rest : {fileBytes({QStringLiteral("coupé\tici"), fullRecordLine(3)}), cp1252::encode(u"coupé\tici")}) {
            writeBytes(table, fileBytes({header(), recordLine({{"Lieu", "A"}})}) + rest);
            QString why;
            QCOMPARE(exporter::exportTable(table, csv, &why), exporter::Result::Failed);
            QCOMPARE(why, QStringLiteral("la ligne de l'enregistrement 2 n'a pas ses 161 champs ; le fichier ne contient "
                                         "que les enregistrements qui la précèdent"));
            QCOMPARE(readBytes(csv), headerRow + "1;A;;MA;;;0" + QByteArray(155, ';') + "\r\n");
        }
    }
    void lineEndsAcrossReadBlocks()
    {
        // Rows follow the table's lines whatever their ends, also a CR LF across two read blocks (1 MiB); a line
        // feed inside a field stays in its row, a TAB after the 160th in the notes.
        QTemporaryDir dir;
        const QString table = dir.filePath(QStringLiteral("Fins.krv"));
        const QByteArray r1 = cp1252::encode(fullRecordLine(1));
        QByteArray bytes = cp1252::encode(header()) + "\r\n";
        const QByteArray row1 = QByteArray(r1).replace('\t', ';');
        QList<QByteArray> rows;
        while (bytes.size() + 2 * (r1.size() + 2) < (1 << 20) - 1) {
            bytes += r1 + "\r\n";
            rows << row1;
        }
        QByteArray padded = cp1252::encode(fullRecordLine(2));
        padded.insert(2, QByteArray((1 << 20) - 1 - bytes.size() - padded.size(), 'x'));
        bytes += padded + "\r\n";
        QCOMPARE(bytes.at((1 << 20) - 1), '\r');
        bytes += r1 + "\n" + r1 + "\r" + r1 + "\tsuite";
        writeBytes(table, bytes);
        rows << padded.replace('\t', ';') << row1 + "\n" + r1 << row1 + "\tsuite";
        QByteArray expected = expectedFile(QStringLiteral("export_valbrune.csv"));
        expected.truncate(expected.indexOf('\n') + 1);
        for (int i = 0; i < rows.size(); ++i)
            expected += QByteArray::number(i + 1) + ';' + rows[i] + "\r\n";
        const QString csv = dir.filePath(QStringLiteral("fins.csv"));
        QCOMPARE(exporter::exportTable(table, csv), exporter::Result::Written);
        QVERIFY(readBytes(csv) == expected);
    }
    void dialogFlow()
    {
        QTemporaryDir dir;
        const QString table = threeRecords(dir.path());
        const QByteArray tableBytes = readBytes(table);
        Script none;   // nothing selected: the message, and no dialog
        QCOMPARE(none.click(QString()), exporter::Result::Nothing);
        QCOMPARE(none.messages, QStringList{QStringLiteral("VELDER|Veuillez sélectionner une table")});
        QVERIFY(none.dialogs.isEmpty());
        QCOMPARE(filefilter::fromPairs("A (*.a)|*.a|B (*.b)|*.b"), QStringLiteral("A (*.a);;B (*.b)"));   // the last pair kept
        Script cancel;   // the dialog's title, default name and filters; a cancel writes nothing
        int hidden = 0;
        QCOMPARE(cancel.click(table, [&] { ++hidden; }), exporter::Result::Nothing);
        QCOMPARE(cancel.dialogs, QStringList{QStringLiteral("Exportation d'une table...|Valbrune|Fichiers KRV (*.KRV);;"
                                                            "Fichiers Texte (séparateur: tabul.) (*.TXT);;Fichiers Excel (*.CSV)")});
        QCOMPARE(hidden, 1);
        // An existing file: No brings the dialog back; another name is written there only.
        const QString existing = dir.filePath(QStringLiteral("ancien.csv"));
        writeBytes(existing, "ne pas perdre");
        const QString other = dir.filePath(QStringLiteral("autre.krv"));
        Script no{{existing, other}, {false}};
        QCOMPARE(no.click(table), exporter::Result::Written);
        QCOMPARE(no.dialogs.size(), 2);
        QCOMPARE(no.dialogs[1], cancel.dialogs[0]);
        QCOMPARE(no.questions, QStringList{QStringLiteral("Le fichier existe déjà...|Le fichier existe déjà. Voulez-vous l'écraser?")});
        QCOMPARE(readBytes(existing), QByteArray("ne pas perdre"));
        QCOMPARE(readBytes(other), tableBytes);
        Script yes{{existing}, {true}};   // Yes replaces it, for good after a power cut too
        QStringList synced;
        filesync::setSyncWatcher([&synced](const QString &folder) { synced << folder; });
        QCOMPARE(yes.click(table), exporter::Result::Written);
        QCOMPARE(exporter::exportTable(table, other), exporter::Result::Written);
        filesync::setSyncWatcher({});
        QCOMPARE(synced, (QStringList{dir.path(), dir.path()}));
        QCOMPARE(readBytes(existing), expectedFile(QStringLiteral("export_valbrune.csv")));
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
        QCOMPARE(entries(dir.path()), 4);
        // A write failing on the way (a full disk, here a size limit): the system's reason, not that of giving the file up.
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
        const QString end = QStringLiteral("\nn'a pas abouti : le fichier dépasserait la taille que le système permet.");
        QCOMPARE(tooBig.messages, (QStringList{QStringLiteral("VELDER!L'exportation dans le fichier\n") + tooBig.answers[0] + end,
                                               QStringLiteral("VELDER!L'exportation dans le fichier\n") + tooBig.answers[1] + end}));
        QCOMPARE(entries(dir.path()), 5);
        // "Fichiers Excel" chosen but no ".csv" typed: nothing written.
        Script bare{{dir.filePath(QStringLiteral("tableur"))}};
        QCOMPARE(bare.click(table), exporter::Result::Nothing);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("tableur"))));
        QCOMPARE(readBytes(table), tableBytes);
        // The real dialog asks nothing itself about an existing file (we do); its cancel gives no name, not even the existing default.
        writeBytes(dir.filePath(QStringLiteral("Valbrune")), "x");
        int shown = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
                ++shown == 1 ? (d->selectFile(existing), static_cast<QDialog *>(d)->accept()) : d->reject();
            else if (QApplication::activeModalWidget())
                QApplication::activeModalWidget()->close();
        });
        answer.start(20);
        QStringList asked;
        const exporter::Hooks h{.askYesNo = [&](QWidget *, const QString &text, const QString &) { return asked << text, false; }};
        QVERIFY(exporter::CmdExporter_Click(nullptr, table, h) == exporter::Result::Nothing && shown == 2 && asked.size() == 1);
    }
};

QTEST_MAIN(TestTablesExport)
#include "test_tables_export.moc"
