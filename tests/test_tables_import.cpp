#include "tables/export.h"
#include "tables/import.h"
#include "tables/tableupgrade.h"
#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

namespace {
const QChar nb = record::Nbsp;
const QString people = QStringList{"Ana Pellerin", "2026", "Bo Lestrade", "Cy Marlot", "Étude"}.join(nb);
void properties(TableStore &t) { t.commune = QStringLiteral("Valbrune"), t.people = people; }
// One comma-layout line: 216 (or more) quoted values joined by commas, in OEM.
QByteArray commaLine(const QMap<int, QString> &values, int count = 216)
{
    QStringList v;
    for (int i = 0; i < count; ++i)
        v << values.value(i);
    QStringEncoder oem("IBM850");
    return oem.encode(u'"' + v.join(QStringLiteral("\",\"")) + u'"');
}
// One TAB-layout line from its 19 columns (1-based in the map).
QString tabLine(const QMap<int, QString> &cols, int count = 19)
{
    QStringList c;
    for (int i = 1; i <= count; ++i)
        c << cols.value(i);
    return c.join(u'\t');
}
QString field(const QString &line, const char *name)
{
    return record::fieldOf(line, record::fieldPosition(QString::fromUtf8(name)));
}
QStringList fileLines(const QString &path)
{
    QStringList lines;
    return readLines(path, lines), lines;
}
// Imports a file with the test's properties; the progress reported as (phase, percent).
QList<QPair<int, int>> importSeen(const QString &src, const QString &target)
{
    QList<QPair<int, int>> seen;
    importer::Observer o;
    o.progress = [&](int phase, int percent) { seen << qMakePair(phase, percent); };
    if (importer::importFile(src, target, properties, o) != importer::Outcome::Done)
        seen.clear();
    return seen;
}
// "n value" lines of a file of tests/data/ as the 161 fields they describe.
QStringList expectedFields(const QString &name)
{
    QStringList fields(record::FieldCount);
    for (const QString &l : testutil::dataLines(name)) {
        const qsizetype blank = l.indexOf(u' ');
        fields[l.left(blank).toInt() - 1] = l.mid(blank + 1);
    }
    return fields;
}
QByteArray commaSource(int columns, const QByteArray &date = "15/BRUM/04")
{
    QByteArrayList values;
    for (int c = 0; c < columns; ++c)
        values << "c" + QByteArray::number(c);
    values[0] = "sAINT-jean";
    values[3] = date;
    values[215] += " \xB7\xB6\xD2\xD4\xD7\xD8\xE2\xEB\xEA";   // code page 850: À Â Ê È Î Ï Ô Ù Û
    return '"' + values.join("\",\"") + "\"\r\n";
}
const QByteArray tabSource = "titres\r\nVALBRUNE\tsaint\xa0martin\t15/BRUM/04\tRouvelle\tAUBIN JEAN-MARIE\tLormes-sur-Vaire (58)\t"
                             "Pierre ROUVELLE +\tDUVERNAY Jeanne\tvve d'AUBIGNY Claude\tde la chaume\th\xe9l\xe8ne\tPONTARY 2a\t"
                             "Paul LAVAUD\t(+) marie anne FOUCHET\tVeuf de Anne BRUN\tvue\x7f" "12\tmari\xe9s \xe0 Lormes\t1\t01\r\n";
struct Ui {
    QWidget dialog;
    QLabel *label1 = new QLabel(QStringLiteral("Conversion en cours..."), &dialog);
    QLabel *picture1 = new QLabel(&dialog);
    QList<QWidget *> buttons;
    Ui()
    {
        for (const char *t : {"Imprimer", "Quitter", "Exporter", "Importer", "Supprimer", "Ouvrir"})
            buttons << new QPushButton(QString::fromLatin1(t), &dialog);
        label1->hide();
        picture1->hide();
    }
    importer::Controls controls() { return {&dialog, label1, picture1, buttons}; }
    int enabled() const { return int(std::count_if(buttons.begin(), buttons.end(), [](auto *b) { return b->isEnabled(); })); }
    bool restored() const { return enabled() == 6 && label1->isHidden() && picture1->isHidden() && dialog.cursor().shape() == Qt::ArrowCursor; }
    bool busy() const { return enabled() == 0 && !label1->isHidden() && !picture1->isHidden(); }
};
} // namespace

class TestTablesImport : public QObject {
    Q_OBJECT
private slots:
    // A whole converted table against a record line written by hand from the rules: one comparison checks all 161 fields.
    void convertedTable_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("parishes");
        QTest::newRow("comma, 216 columns") << commaSource(216) << "convert_comma.txt" << "Saint-jean";
        QTest::newRow("comma, a slash where the month starts") << commaSource(216, "15//BRU/04") << "convert_comma_slash.txt" << "Saint-jean";
        QTest::newRow("TAB, 19 columns") << tabSource << "convert_tab.txt" << "Saint Martin";
    }
    void convertedTable()
    {
        QFETCH(QByteArray, source); QFETCH(QString, expected); QFETCH(QString, parishes);
        QTemporaryDir dir;
        const QString in = dir.filePath("SOURCE.TXT"), out = dir.filePath("SOURCE.krv");
        QVERIFY(writeBytes(in, source));
        QCOMPARE(importer::importFile(in, out, properties), importer::Outcome::Done);
        const QStringList lines = fileLines(out);
        QStringList fields;
        QVERIFY(lines.size() == 2 && record::splitFields(lines.at(1), fields));
        QCOMPARE(lines.at(0), QStringLiteral("Valbrune\tParoisse\t") + people + u'\t' + parishes);
        QCOMPARE(fields, expectedFields(expected));   // a failure names the first field that differs (from 0)
    }
    void namesAndRecognition()
    {
        // The target is named after the source's base name, up to its last dot.
        QCOMPARE(importer::targetFileName("/tmp/Pont.sur.TXT") + importer::targetFileName("C:\\P.TXT"), QStringLiteral("Pont.sur.krvP.krv"));
        QMetaObject::invokeMethod(qApp, [] { qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->button(QMessageBox::Yes)->click(); }, Qt::QueuedConnection);
        QVERIFY(importer::defaultHooks().askYesNo(nullptr, "?", "Velder"));   // the real question's Yes
        QCOMPARE(importer::targetFileName(QStringLiteral("/tmp/a.b/sansnom")) + importer::targetFileName("/tmp/.TXT"), QString());
        // OEM bytes: é è ç É, and a NUL ends the text.
        QCOMPARE(importer::oemToAnsi(QByteArray("\x82\x8a\x87\x90!\0reste", 11)), QStringLiteral("éèçÉ!"));
        QCOMPARE(importer::oemToAnsi(QByteArray("\0reste", 6)), QString());
        using importer::Layout;
        auto recognise = [](const QByteArray &bytes) { return importer::recognise(importer::splitLines(bytes)); };
        QVERIFY(recognise(commaLine({})) == Layout::Comma && recognise(commaLine({}, 218) + "\r\nx") == Layout::Copy);
        // The count skips a separator in first place: an empty first column is one field short, a one-letter one is not.
        QCOMPARE(recognise("titres\r\n" + tabLine({}).toLatin1()), Layout::Copy);
        QCOMPARE(recognise("titres\r\nt" + tabLine({}).toLatin1()), Layout::Tab);
        QCOMPARE(recognise(fileBytes({header()})), std::nullopt);
    }
    void tabColumns()
    {
        // A short comma line gives empty fields, never a broken record line.
        QString r = importer::commaRecordLine(QStringLiteral("\"Bourg\",\"x\tz\""), QStringLiteral("V"));
        QCOMPARE(r.count(record::Tab), 160);
        QCOMPARE(field(r, "Paroisse"), QStringLiteral("Bourg"));
        r = importer::commaRecordLine(QStringLiteral("\x01\"Bourg\""), QStringLiteral("V"));
        QVERIFY2(!r.contains(QChar(1)) && field(r, "Paroisse").endsWith(u"bourg", Qt::CaseInsensitive), qPrintable(r));   // first character too
        // A boundary that ends the line still cuts there; DEL, a control too, becomes a blank.
        QCOMPARE(field(importer::commaRecordLine(QStringLiteral("\"Bourg\",\"x\",\"C\x7f" "12\",\""), "V"), "Cote"), QStringLiteral("C 12"));
        // Act type from the last character of column 19; notes from one column alone.
        QVERIFY(importer::tabRecordLine(tabLine({{17, "seule"}, {19, "10"}}), r));
        QCOMPARE(field(r, "Type d'acte"), QStringLiteral("MA"));
        QCOMPARE(field(r, "Notes"), QStringLiteral("seule"));
        // More than 19 columns: the rest is ignored; fewer: refused.
        QVERIFY(importer::tabRecordLine(tabLine({{20, "de trop"}}, 22), r));
        QVERIFY(!r.contains(QStringLiteral("de trop")) && !importer::tabRecordLine(tabLine({}, 18), r));
        for (const QStringList &o : testutil::caseRows("tab_origins.txt")) {
            QVERIFY(importer::tabRecordLine(tabLine({{6, o[0]}}), r));
            QCOMPARE(field(r, "Org EPX") + '|' + field(r, "Code Org EPX"), o[1] + '|' + o[2]);
        }
        // Every widowed form before a previous spouse is dropped, and "de" after it.
        for (const char *w : {"veuf", "veuve", "vf", "vve", "vf.", "vve."}) {
            QVERIFY(importer::tabRecordLine(tabLine({{9, QString(w) + " de Anne BRUN"}}), r));
            QCOMPARE(field(r, "Nom EXEPX1") + '|' + field(r, "Prenom EXEPX1"), QStringLiteral("BRUN|Anne"));
        }
        QVERIFY(importer::tabRecordLine(tabLine({{9, "vve van DAM Anne"}}), r));   // a name right after it is whole
        QCOMPARE(field(r, "Nom EXEPX1") + '|' + field(r, "Prenom EXEPX1"), QStringLiteral("van DAM|Anne"));
    }
    void tabPeople_data()
    {
        for (const char *name : {"column", "surname", "first", "marker"})
            QTest::addColumn<QString>(name);
        for (const QStringList &c : testutil::caseRows("tab_people.txt"))
            QTest::newRow(qPrintable(c[0])) << c[0] << c[1] << c[2] << c[3];
    }
    void tabPeople()
    {
        QFETCH(QString, column); QFETCH(QString, surname); QFETCH(QString, first); QFETCH(QString, marker);
        QString r;
        // As the wife's mother, and as the husband's father (surname from the spouse).
        QVERIFY(importer::tabRecordLine(tabLine({{4, "Tessier"}, {7, column}, {14, column}}), r));
        QCOMPARE(field(r, "Nom MEPSE"), surname);
        QCOMPARE(field(r, "Prenom MEPSE"), first);
        QCOMPARE(field(r, "Evnt MEPSE"), marker);
        QCOMPARE(field(r, "Nom PEPX"), column == u"( )()" ? QString() : QStringLiteral("TESSIER"));
        QCOMPARE(field(r, "Evnt PEPX"), marker);
    }
    void tabFileImport()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("ORVANE.TXT"));
        QStringList lines{QStringLiteral("Lieu\tParoisse\tDate\t...")};
        for (const char *parish : {"Saint-Martin", "NOTRE-DAME", "saint-martin", "Saint-Martin"})   // one without a place
            lines << tabLine({{1, lines.size() == 3 ? "" : "Orvane"}, {2, parish}, {4, "ESNAULT"}});
        writeBytes(src, fileBytes(lines) + "\r\n");   // a blank line at the end is no record
        const QString target = dir.filePath(QStringLiteral("ORVANE.krv"));
        const auto seen = importSeen(src, target);
        // Both spellings of Saint-Martin are listed, in order of first appearance.
        QStringList expected{QStringLiteral("Valbrune\tParoisse\t") + people + u'\t' + QStringList{"Saint-Martin", "Notre-Dame", "Saint-Martin"}.join(nb)};
        for (const char *parish : {"Saint-Martin", "Notre-Dame", "Saint-Martin", "Saint-Martin"})
            expected << recordLine({{"Lieu", expected.size() == 3 ? "" : "Orvane"}, {"Paroisse", parish}, {"Dispense", ""}, {"Nom EPX", "ESNAULT"}});
        QCOMPARE(fileLines(target), expected);
        QStringList big = lines.first(1), bigExpected = expected.first(1);   // over a megabyte, written in pieces
        for (int i = 0; i < 1500; ++i)
            big << lines.mid(1), bigExpected << expected.mid(1);
        writeBytes(src, fileBytes(big));
        const auto bigSeen = importSeen(src, target + ".grand");   // each step of the progress reported once
        QVERIFY(!bigSeen.isEmpty() && std::adjacent_find(bigSeen.begin(), bigSeen.end()) == bigSeen.end() && fileLines(target + ".grand") == bigExpected);
        QVERIFY(seen.contains(qMakePair(int(importer::ParishListing), 50)) && seen.contains(qMakePair(int(importer::Conversion), 50)));
        QCOMPARE(seen.last(), qMakePair(int(importer::Conversion), 100));
    }
    void commaFileImport()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("Lormes.ASC"));
        // First line: 216 values, one with a comma (217 counted); second: 217 values. Fields: see convertedTable.
        QByteArray bytes = commaLine({{0, "NOTRE-DAME"}, {4, "GAUTHERON"}, {15, "tisserand, aubergiste"}, {215, "vu"}});
        bytes += "\r\n\"saint-yves\"\r\n";   // and a line of one value
        bytes += commaLine({{0, "notre-dame"}, {3, "12/03/1792"}, {4, "PÉLISSIER"}, {210, "x"}, {215, "a"}, {216, "b"}}, 217);
        bytes += QByteArray("\r\n\0cut\r\n\x1a", 9);   // a line a NUL cuts to nothing, a DOS end-of-file mark: no records
        writeBytes(src, bytes);
        const QString target = dir.filePath(QStringLiteral("Lormes.krv"));
        QCOMPARE(importSeen(src, target).value(0), qMakePair(0, 0));   // no phase yet
        const QStringList expected{
            QStringLiteral("Valbrune\tParoisse\t") + people + QStringLiteral("\tNotre-dame") + nb + QStringLiteral("Saint-yves") + nb + QStringLiteral("Notre-dame"),
            recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Notre-dame"}, {"Nom EPX", "GAUTHERON"},
                        {"Profession EPX", "tisserand, aubergiste"}, {"Notes", "vu"}}), recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-yves"}}),
            recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Notre-dame"}, {"Date", "12/03/1792"},
                        {"Nom EPX", "PÉLISSIER"}, {"Notes", "a\",\"b"}})};
        QCOMPARE(fileLines(target), expected);
        QVERIFY(readBytes(target).contains("P\xc9LISSIER"));   // Windows-1252 on disk
    }
    void largeTableWithLineFeedsOnly()
    {
        // 20 MB written on another system (LF alone): imported as it is, and opened.
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("Grande.KRV"));
        QByteArray bytes = cp1252::encode(header()) + '\n';
        const QByteArray r = cp1252::encode(fullRecordLine(7)) + '\n';
        int records = 0;
        for (; bytes.size() < 20'000'000; ++records)
            bytes += r;
        writeBytes(src, bytes);
        const QString target = dir.filePath(QStringLiteral("Grande.krv.krv"));
        QCOMPARE(importer::importFile(src, target, properties), importer::Outcome::Done);
        QCOMPARE(readBytes(target), bytes);
        QCOMPARE(tableupgrade::inspect(target), tableupgrade::State::Current);
        TableStore t;
        QCOMPARE(t.load(target), TableStore::LoadResult::Ok);
        QCOMPARE(t.recordCount(), records);
        QCOMPARE(t.line(records), fullRecordLine(7));
    }
    void interruptedLeavesNothing()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("Court.txt"));
        writeBytes(src, fileBytes({QStringLiteral("en-tête"), tabLine({{1, "Orvane"}, {4, "AUBRY"}}),
                                   tabLine({{1, "Orvane"}, {4, "BOISSEL"}}), tabLine({{1, "Orvane"}, {4, "COUPÉ"}}, 12),
                                   tabLine({{1, "Orvane"}, {4, "DORAT"}})}));
        const QString target = dir.filePath(QStringLiteral("Court.krv"));
        QCOMPARE(importer::importFile(src, target, properties), importer::Outcome::Incompatible);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Court.txt")});
        // A table it was to replace stays as it was.
        writeBytes(target, "ancienne table");
        QCOMPARE(importer::importFile(src, target, properties), importer::Outcome::Incompatible);
        QCOMPARE(readBytes(target), QByteArray("ancienne table"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(importer::importFile(dir.filePath(QStringLiteral("absent.txt")), target, properties),
                 importer::Outcome::InUse);
        // A write cut short (a full disk, here a size limit): nothing, and the system's reason.
        QStringList many{header()};
        for (int i = 0; i < 30; ++i)
            many << fullRecordLine(i);
        writeBytes(src, fileBytes(many));
        const QString small = dir.filePath(QStringLiteral("Petit.txt"));   // its last bytes written at the very end
        writeBytes(small, fileBytes({QStringLiteral("en-tête"), tabLine({{1, "Orvane"}, {4, "AUBRY"}})}));
        for (const QString &source : {src, small}) {
            QString why;
            {
                const SizeLimit limit(source == src ? 16 * 1024 : 120);
                QCOMPARE(importer::importFile(source, target, properties, {}, &why), importer::Outcome::Failed);
            }
            QCOMPARE(why, QStringLiteral("le fichier dépasserait la taille que le système permet"));
            QCOMPARE(readBytes(target), QByteArray("ancienne table"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
        }
    }
    void buttonFlow()
    {
        QTemporaryDir dir;
        const QString app = dir.filePath(QStringLiteral("app"));
        QDir().mkpath(app);
        const QString existing = QDir(app).filePath(QStringLiteral("LISTE.krv"));
        writeBytes(existing, "ancienne table");
        const QString src = dir.filePath(QStringLiteral("liste.txt"));
        writeBytes(src, fileBytes({QStringLiteral("titres"), tabLine({{1, "Orvane"}, {2, "Bourg"}, {4, "AUBRY"}})}));
        Ui ui;
        QStringList opened, asked, critical;
        QString answer = src;
        bool yes = false;
        int propertiesAsked = 0;
        importer::Hooks h;
        h.openFileName = [&](QWidget *, const QString &title, const QString &filter) {
            opened << title << filter;
            if (!ui.busy())   // the buttons are off from the start, the open dialog included
                critical << QStringLiteral("not busy");
            return answer;
        };
        h.askYesNo = [&](QWidget *, const QString &text, const QString &title) { return asked << title + u'|' + text, yes; };
        h.critical = [&](QWidget *, const QString &text, const QString &title) { critical << title + u'|' + text; };
        h.askProperties = [&](TableStore &t) { ++propertiesAsked, properties(t); };
        // Refused replacement: nothing changes, the buttons come back.
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QString());
        QCOMPARE(opened, (QStringList{QStringLiteral("Importation de Tables de Mariages"),
                                      QStringLiteral("Fichiers Texte (*.TXT);;Fichiers ASC (*.ASC);;Fichiers KRV (*.KRV)")}));
        QCOMPARE(asked, QStringList{QStringLiteral("La Table existe déjà|La table figure déjà dans la liste. Voulez-vous l'écraser?")});
        QCOMPARE(readBytes(existing), QByteArray("ancienne table"));
        QVERIFY(propertiesAsked == 0 && ui.restored());
        // Accepted: the new table replaces the listed one (spelt otherwise here).
        yes = true;
        QStringList synced;
        filesync::setSyncWatcher([&synced](const QString &folder) { synced << folder; });
        const QString made = importer::CmdImporter_Click(ui.controls(), app, h);
        filesync::setSyncWatcher({});
        QCOMPARE(synced, QStringList{app});
        QCOMPARE(QDir(app).entryList(QDir::Files), QStringList{QStringLiteral("liste.krv")});
        QCOMPARE(field(fileLines(made).value(1), "Nom EPX"), QStringLiteral("AUBRY"));
        QVERIFY(propertiesAsked == 1 && ui.restored() && critical.isEmpty());
        // Cancel, a one-line file, a file whose name has no extension: restored each time, and the message.
        answer.clear();
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QString());
        QVERIFY(ui.restored());
        answer = dir.filePath(QStringLiteral("une.ligne")), writeBytes(answer, "une seule ligne\r\n");
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QString());
        answer = dir.filePath(QStringLiteral("sansextension"));   // no table name can come from it
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QString());
        QCOMPARE(critical, QStringList(2, QStringLiteral("Velder|Ce fichier n'est pas un fichier compatible")));
        QVERIFY(ui.restored() && !QFileInfo::exists(QDir(app).filePath(QStringLiteral("une.krv"))));
        // A text export comes back as the same table under its base name, asking nothing.
        const QString table = dir.filePath(QStringLiteral("Valbrune.krv"));
        writeBytes(table, fileBytes({header(), fullRecordLine(1), fullRecordLine(2)}));
        answer = dir.filePath(QStringLiteral("Copie.TXT"));
        QCOMPARE(exporter::exportTable(table, answer), exporter::Result::Written);
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QDir(app).filePath(QStringLiteral("Copie.krv")));
        QCOMPARE(readBytes(QDir(app).filePath(QStringLiteral("Copie.krv"))), readBytes(table));
        QCOMPARE(readBytes(answer), readBytes(table));   // the source is only read
        QVERIFY(propertiesAsked == 1 && ui.restored());
        // Where no table can be written, nothing is imported and the user is told why.
        QDir(app).mkdir(QStringLiteral("Copie.krv.krv"));
        answer = dir.filePath(QStringLiteral("Copie.krv.TXT"));
        writeBytes(answer, readBytes(table));
        critical.clear();
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), app, h), QString());
        QCOMPARE(importer::CmdImporter_Click(ui.controls(), table, h), QString());   // a file for a folder
        const QString end = QStringLiteral(".\n\nRien n'a été importé.");
        QCOMPARE(critical, (QStringList{
            QStringLiteral("Velder|La table « Copie.krv.krv » n'a pas pu être écrite dans le dossier de l'application : "
                           "un dossier porte déjà ce nom") + end,
            QStringLiteral("Velder|La table « Copie.krv.krv » n'a pas pu être écrite dans le dossier de l'application : "
                           "« %1 » est un fichier, pas un dossier").arg(table) + end}));
        QVERIFY(ui.restored());
    }
    void progressDrawing()
    {
        QCOMPARE(importer::progressText(importer::ParishListing, 50) + importer::progressText(importer::Extraction, 5), "Listage Paroisse: 50%Extraction: 5%");
        QCOMPARE(importer::progressText(0, 0) + importer::progressText(importer::Conversion, 100), QStringLiteral("0%Conversion: 100%"));
        // Picture1 is 2850 by 225 twips: the red bar ends at half the width, the black bold text is centred.
        QLabel picture;
        picture.resize(190, 15);
        importer::showProgress(&picture, importer::Conversion, 50);
        const QImage half = picture.pixmap().toImage();
        const QRgb red = qRgb(255, 0, 0);
        int lastRed = -1, minX = 999, maxX = -1, minY = 99, maxY = -1, textPixels = 0, black = 0;
        for (int at = 0; at < 190 * 15; ++at) {
            const int x = at % 190;
            const QRgb c = half.pixel(x, at / 190);
            lastRed = c == red ? std::max(lastRed, x) : lastRed;
            if (qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90)   // the text, its smoothed edges included
                ++textPixels, black += c == qRgb(0, 0, 0), minX = std::min(minX, x), maxX = std::max(maxX, x),
                minY = std::min(minY, at / 190), maxY = std::max(maxY, at / 190);
        }
        QVERIFY(half.pixel(3, 7) == red && lastRed == 94 && textPixels > 40 && black > 5);
        importer::showProgress(&picture, importer::Extraction, 0);   // the next phase starts with an empty bar
        QVERIFY(std::abs((minX + maxX) - 189) <= 4 && std::abs(minY + maxY - 14) <= 1 && picture.pixmap().toImage().pixel(3, 7) != red);
        QFont eight = QApplication::font(); eight.setPointSize(8); eight.setBold(true);   // the text: bold, 8 points
        QVERIFY(std::abs(maxX - minX + 1 - QFontMetrics(eight, &half).horizontalAdvance("Conversion: 50%")) <= 3);
        QCOMPARE(importer::importProgressPixmap(QSize(190, 15), importer::Extraction, 100, QColor(236, 233, 216)).toImage().pixel(186, 7), red);
        QImage tall(10, 100, QImage::Format_RGB32);   // upright, the bar rises from the bottom
        QPainter upright(&tall);
        importer::drawProgress(upright, tall.size(), 30, false, false, Qt::red, 8, Qt::black, "", Qt::white);
        importer::drawProgress(upright, tall.size(), 101, false, false, Qt::red, 8, Qt::black, "", Qt::white);   // out of range: nothing
        importer::drawProgress(upright, QSize(1, 100), 0, false, false, Qt::red, 8, Qt::black, "", Qt::blue);   // 0: the background alone
        upright.end();
        QVERIFY(tall.pixelColor(1, 69) == Qt::white && tall.pixelColor(1, 70) == Qt::red && tall.pixelColor(9, 99) == Qt::red);
        QVERIFY(tall.pixelColor(0, 0) == Qt::blue && tall.pixelColor(0, 99) == Qt::blue);
    }
};

QTEST_MAIN(TestTablesImport)
#include "test_tables_import.moc"
