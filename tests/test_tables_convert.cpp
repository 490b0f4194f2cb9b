// A whole converted table against a record line written by hand from the conversion
// rules: one comparison checks every one of the 161 fields.
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "tables/import.h"
#include "testutil.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// "n value" lines of a file of tests/data/ as the 161 fields they describe.
QStringList expectedFields(const QString &name)
{
    QFile f(qEnvironmentVariable("VELDER_TEST_DATA") + u'/' + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read test data %s", qPrintable(f.fileName()));
    QStringList fields(record::FieldCount);
    for (const QString &l : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (l.isEmpty() || l.startsWith(u'#'))
            continue;
        const qsizetype blank = l.indexOf(u' ');
        fields[l.left(blank).toInt() - 1] = l.mid(blank + 1);
    }
    return fields;
}
QByteArray commaSource(int columns)
{
    QByteArrayList values;
    for (int c = 0; c < columns; ++c)
        values << "c" + QByteArray::number(c);
    values[0] = "sAINT-jean";
    values[3] = "15/BRUM/04";
    values[215] += " \xB7\xB6\xD2\xD4\xD7\xD8\xE2\xEB\xEA";   // code page 850: À Â Ê È Î Ï Ô Ù Û
    return '"' + values.join("\",\"") + "\"\r\n";
}
const QByteArray tabSource = "titres\r\nVALBRUNE\tsaint-martin\t15/BRUM/04\tRouvelle\tAUBIN JEAN-MARIE\tLormes-sur-Vaire (58)\t"
                             "Pierre ROUVELLE +\tDUVERNAY Jeanne\tvve d'AUBIGNY Claude\tde la chaume\th\xe9l\xe8ne\tPONTARY 2a\t"
                             "Paul LAVAUD\t(+) marie anne FOUCHET\tVeuf de Anne BRUN\tvue 12\tmari\xe9s \xe0 Lormes\t1\t01\r\n";
} // namespace

class TestTablesConvert : public QObject {
    Q_OBJECT
private slots:
    void convertedTable_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("parishes");
        QTest::newRow("comma, 216 columns") << commaSource(216) << "convert_comma.txt" << "Saint-jean";
        QTest::newRow("TAB, 19 columns") << tabSource << "convert_tab.txt" << "Saint-Martin";
    }
    void convertedTable()
    {
        QFETCH(QByteArray, source); QFETCH(QString, expected); QFETCH(QString, parishes);
        QTemporaryDir dir;
        const QString in = dir.filePath("SOURCE.TXT"), out = dir.filePath("SOURCE.krv");
        QVERIFY(testutil::writeBytes(in, source));
        const QString people = QStringList{"Ana", "2024", "Bo", "Cy", "Étude"}.join(record::Nbsp);
        const auto properties = [&](TableStore &t) { t.commune = QStringLiteral("Valbrune"), t.people = people; };
        QCOMPARE(importer::importFile(in, out, properties), importer::Outcome::Done);
        QStringList lines;
        QVERIFY(readLines(out, lines) && lines.size() == 2);
        QCOMPARE(lines.at(0), QStringLiteral("Valbrune\tParoisse\t") + people + u'\t' + parishes);
        QStringList fields;
        QVERIFY(record::splitFields(lines.at(1), fields));
        QCOMPARE(fields, expectedFields(expected));   // a failure names the first field that differs (from 0)
    }
};

QTEST_GUILESS_MAIN(TestTablesConvert)
#include "test_tables_convert.moc"
