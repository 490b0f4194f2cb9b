#include "store/cp1252.h"
#include "store/fieldcolumn.h"
#include "store/filesync.h"
#include "store/utf8check.h"
#include "store/lineends.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "store/transfer.h"
#include "testutil.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

using namespace testutil;

class TestStore : public QObject {
    Q_OBJECT
private slots:
    // The catalogue whole, against the list written by hand: name and holder of every field.
    void catalogue()
    {
        const QStringList expected = testutil::dataLines("field_catalogue.txt");
        QStringList got;
        int sizes[record::GroupCount] = {};
        for (int p = 1; p <= record::FieldCount; ++p) {
            const record::Place &w = record::field(p).place;
            const char *const holders[] = {"Txt(%1)", "CmbParoisse", "CmbActe", "Date", "ChkDispense", "group %1 item %2"};
            QString where = QString::fromLatin1(holders[int(w.holder)]);
            if (w.holder == record::Holder::Group)
                ++sizes[w.index], where = where.arg(w.index).arg(w.item);
            got << QStringLiteral("%1 \"%2\" %3").arg(p).arg(record::fieldName(p), w.holder == record::Holder::TextBox ? where.arg(w.index) : where);
        }
        QCOMPARE(got, expected);
        for (int g = 0; g < record::GroupCount; ++g)
            QVERIFY(record::groupSize(g) == sizes[g] && record::emptyGroup(g) == QString(sizes[g] - 1, u'\t'));
        QCOMPARE(record::actCodeForLabel(QStringLiteral("Congé")) + '|' + record::actCodeForLabel(QStringLiteral("mariage")), QStringLiteral("CG|"));
        QCOMPARE(record::emptyRecordLine("Valbrune", "Saint-Martin"), recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}}));
        QCOMPARE(QStringList({record::dateField("", "", "1815"), record::dateField("5", "3", "1815"), record::dateField("15", "brum", "4", 2, 4, 2),
                              record::dateField("", "", "")}), (QStringList{"../../1815", ".5/.3/1815", "15/brum/.4", ""}));
        // The notes keep the TABs after the 160th; a line of fewer is no record; the list is replaced, not added to.
        QStringList f;
        const QString line = recordLine({{"Notes", "a"}}) + "\tb";
        QVERIFY(!record::splitFields(QString(159, u'\t'), f) && record::splitFields(line, f) && record::splitFields(line, f) && f.size() == 161);
        QCOMPARE(f.last() + '|' + record::fieldOf(line, 161), QStringLiteral("a\tb|a\tb"));
        QCOMPARE(record::fieldOf("\tb", 1) + '|' + record::fieldOf("\tb", 2), QStringLiteral("|b"));   // an empty first field
    }
    void codepage()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
        QCOMPARE(cp1252::decode("\x9c\xa0\xe9"), QString::fromUtf16(u"œ\u00a0é"));
        QCOMPARE(cp1252::encode(QString(QChar(0x80))), QByteArray("?"));   // a C1 control alone: not the euro's byte
        QString upper = QStringLiteral("éœßµÿ");   // ß and µ have no capital in Windows-1252
        for (QChar &c : upper)
            c = cp1252::upper(c);
        QCOMPARE(upper, QStringLiteral("ÉŒßµŸ"));
        bool refused = false;
        QCOMPARE(cp1252::cleanForField(QStringLiteral("a\tb\r\nc"), &refused), QStringLiteral("abc"));
        QVERIFY(!refused);
        cp1252::cleanForField(QString::fromUtf16(u"a\u4e2db"), &refused);
        QVERIFY(refused && QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D").removeIf(cp1252::representable).size() == 5 && cp1252::representable(u'ÿ') && cp1252::representable(QChar(0)));
    }
    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("lines");
        for (const QStringList &c : testutil::caseRows("line_ends.txt")) {
            QList<QByteArray> lines;
            for (const QString &w : c.mid(2))
                lines << testutil::bytesOf(w);
            QTest::newRow(qPrintable(c[0])) << testutil::bytesOf(c[1]) << lines;
        }
    }
    void lineEnds()
    {
        QFETCH(QByteArray, bytes); QFETCH(QList<QByteArray>, lines);
        QList<QByteArray> whole;
        lineends::forEachLine(bytes, [&](QByteArrayView l) { whole << l.toByteArray(); return true; });
        QCOMPARE(whole, lines);
        // Fed in blocks of every size, with the line ends given or found on the way.
        for (qsizetype n = 1; n <= bytes.size(); ++n) {
            for (bool given : {true, false}) {
                QList<QByteArray> fed;
                auto take = [&](QByteArrayView l) { fed << l.toByteArray(); return true; };
                lineends::Splitter splitter = given ? lineends::Splitter(lineends::endsOf(bytes)) : lineends::Splitter();
                for (qsizetype at = 0; at < bytes.size(); at += n)
                    splitter.feed(QByteArrayView(bytes).sliced(at, std::min(n, bytes.size() - at)), take);
                splitter.finish(take);
                QCOMPARE(fed, lines);
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("t.krv");
        QVERIFY(writeBytes(path, bytes));
        QStringList read{QStringLiteral("left from before")}, decoded;   // replaced, not added to
        QVERIFY(readLines(path, read));
        for (const QByteArray &l : lines)
            decoded << cp1252::decode(l);
        QCOMPARE(read, decoded);
    }
    void badInputsAreRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.krv");
        TableStore t;
        for (const QByteArray bytes : {QByteArray(), QByteArray("a\tb\tc\r\n"), QByteArray("Valbrune\r\n")}) {   // empty, 3 fields, 1
            QVERIFY(writeBytes(path, bytes));
            t.setContent({header("Before")});
            QCOMPARE(t.load(path), TableStore::LoadResult::Incompatible);
            QCOMPARE(t.commune + readBytes(path), "Before" + bytes);   // the store and the file untouched
        }
        t.setContent({QStringLiteral("Brug\tArchives\t\tLocmaria")});   // an empty third field
        QCOMPARE(t.sources + '|' + t.people + '|' + t.parishList, QStringLiteral("Archives||Locmaria"));
        QCOMPARE(t.load(dir.filePath("missing.krv")), TableStore::LoadResult::Unreadable);
        QCOMPARE(t.load("/proc/self/mem"), TableStore::LoadResult::Unreadable);   // opens, then fails to read (EIO)
    }
    // A save that cannot be written leaves the file as it was and the store as edited; a failed backup copy does not stop it.
    void saveReports_data()
    {
        QTest::addColumn<QString>("target");  // in a folder holding t.krv, "plain" (a file) and "sub"
        QTest::addColumn<QString>("backup");  // Temp2.tmp as it is: "no", a "folder", under a "file"
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("backupMade");
        for (const QStringList &c : testutil::caseRows("save_reports.txt"))
            QTest::newRow(qPrintable(c[0])) << c[1] << c[2] << (c[3] == u"yes") << (c[4] == u"yes");
    }
    void saveReports()
    {
        QFETCH(QString, target); QFETCH(QString, backup); QFETCH(bool, written); QFETCH(bool, backupMade);
        QTemporaryDir dir;
        const QString table = dir.filePath("t.krv"), path = dir.filePath(target);
        const QByteArray before = fileBytes({header(), recordLine({{"Nom EPX", "A"}})});
        const QByteArray edited = fileBytes({header(), recordLine({{"Nom EPX", "B"}})});
        QVERIFY(writeBytes(table, before) && writeBytes(dir.filePath("plain"), "a file") && QDir(dir.path()).mkdir("sub"));
        TableStore t;
        t.setAppFolder(dir.filePath(backup == u"file" ? "plain" : ""));
        QVERIFY(backup != u"folder" || QDir(dir.path()).mkdir("Temp2.tmp"));
        QCOMPARE(t.load(table), TableStore::LoadResult::Ok);
        t.setLine(1, recordLine({{"Nom EPX", "B"}}));
        const TableStore::SaveReport r = t.saveReporting(path);
        QVERIFY(!TableStore().saveReporting(path).written && TableStore().saveReporting(path).reason == u"aucune table ouverte");
        QCOMPARE(std::pair(r.written, r.backupMade), std::pair(written, backupMade));
        QCOMPARE(r.reason.isEmpty(), written && backupMade);   // a failure always says why
        QCOMPARE(t.save(path), written);
        QCOMPARE(readBytes(path), written ? edited : QByteArray());
        QCOMPARE(readBytes(table), target == "t.krv" ? edited : before);
        QDir(t.backupPath()).removeRecursively();
        QVERIFY(t.save(table));   // the store is whole: the table can still be saved
        QCOMPARE(readBytes(table), edited);
    }
    // A disk filling up while the new file is written (a size limit, which holds for root too): the save fails and
    // the table file stays whole. A small table too: its last bytes are written at the very end.
    void fullDiskLeavesTheFileWhole()
    {
        for (int records : {1800, 2}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("t.krv");
            QStringList lines{header()};
            for (int i = 1; i <= records; ++i)
                lines << fullRecordLine(i);
            const QByteArray bytes = fileBytes(lines);
            QVERIFY(writeBytes(path, bytes));
            TableStore t;
            t.setAppFolder(dir.path());
            QCOMPARE(t.load(path), TableStore::LoadResult::Ok);
            {
                const SizeLimit limit(bytes.size() * 2 / 3);
                QVERIFY(!t.save(path));
            }
            QVERIFY(readBytes(path) == bytes);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"t.krv", "Temp2.tmp"}));
        }
    }
    // The column a search or a completion reads: one field of each record.
    void fieldColumn()
    {
        TableStore t;
        t.setContent({header(), recordLine({{"Org EPX", "Lyac"}}), QStringLiteral("a\tb\tc"), QStringLiteral("1\t2\t3\t4\t5\t6\t7\t8\tLavec"),
                      recordLine({{"Org EPX", "Lidre"}})});
        FieldColumn column(9);
        QCOMPARE(column.find(t, u"L", 1, +1), 1);
        QCOMPARE(std::pair(column.find(t, u"La", 1, +1), t.findField(9, u"La", 1, +1)), std::pair(3, 3));   // no TAB after the field: still read
        QCOMPARE(column.find(t, u"L", 4, -1), 4);
        QCOMPARE(column.find(t, u"", 2, +1), 3);            // the short line has no field 9
        QCOMPARE(FieldColumn(9, true).find(t, u"La", 1, +1), 0);
        const QStringList texts{column.text(0), column.text(1), column.text(2), column.text(3), column.text(5)};
        QCOMPARE(texts, (QStringList{"", "Lyac", "", "Lavec", ""}));
        for (int pad = 0; pad < 40; ++pad) {   // the TABs fall on every place of a 16-byte block
            TableStore u;
            u.setContent({header(), QString(pad, u'x') + "\t\t\t\t\t\t\t\tORG\tz"});
            QString first, ninth, tenth;
            QVERIFY(u.field(1, 1, first) && u.field(1, 9, ninth) && u.field(1, 10, tenth));
            QCOMPARE(first.size(), pad);
            QCOMPARE(ninth + tenth, QStringLiteral("ORGz"));
            QVERIFY(!u.field(1, 11, tenth));
        }
        QString f;
        QVERIFY(t.field(0, 1, f) && f == QStringLiteral("Valbrune"));   // the header line is line 0
        QVERIFY(!t.field(-1, 1, f) && !t.field(99, 1, f) && !t.field(2, 9, f) && t.field(3, 9, f));
        QCOMPARE(f, QStringLiteral("Lavec"));
    }
    // After a load the store writes back the lines it did not change byte for byte,
    // however they fall into write blocks, and the changed ones from their text.
    void saveWritesEveryLineBackExactly_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("replaced");   // record replaced, 0 none
        QTest::addColumn<int>("deleted");    // record deleted after that, 0 none
        QTest::addColumn<bool>("appended");
        QTest::addColumn<QString>("commune");
        QTest::addColumn<QByteArray>("ends");   // of the lines read; written back with CR LF
        for (const QStringList &c : testutil::caseRows("save_every_line.txt"))
            QTest::newRow(qPrintable(c[0])) << c[1].toInt() << c[2].toInt() << c[3].toInt() << (c[4] == u"yes") << c[5]
                                            << testutil::bytesOf(c[6]);
    }
    void saveWritesEveryLineBackExactly()
    {
        QFETCH(int, records); QFETCH(int, replaced); QFETCH(int, deleted); QFETCH(bool, appended);
        QFETCH(QString, commune); QFETCH(QByteArray, ends);
        // Every byte but TAB, CR and LF in one field, the five unassigned ones among them.
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            if (b != '\t' && b != '\r' && b != '\n')
                everyByte += char(b);
        QList<QByteArray> lines{cp1252::encode(header())};
        for (int i = 1; i <= records; ++i) {
            QByteArray line = cp1252::encode(fullRecordLine(i));
            if (i % 500 == 2)
                line.replace("v", everyByte);
            lines << line + (i == 3 && ends == "\r" ? "\nsuite" : "");
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("t.krv");
        QByteArray bytes = lines.join(ends) + ends;
        QVERIFY(writeBytes(path, bytes));
        TableStore t;
        t.setAppFolder(dir.path());
        QCOMPARE(t.load(path), TableStore::LoadResult::Ok);
        QCOMPARE(t.recordCount(), records);
        QCOMPARE(cp1252::encode(t.line(records)), lines[records]);
        if (replaced) {
            lines[replaced] = everyByte + "\t" + cp1252::encode(recordLine({{"Nom EPX", "ŒUVRE"}}));
            t.setLine(replaced, cp1252::decode(lines[replaced]));
        }
        if (deleted) {
            lines.removeAt(deleted);
            QVERIFY(t.deleteRecord(deleted));
        }
        if (appended) {
            lines << cp1252::encode(recordLine({{"Nom EPX", "NOUVEAU"}}));
            t.setLine(t.upperIndex(), cp1252::decode(lines.last()));
            t.grow();
            t.setLine(t.upperIndex(), QStringLiteral("never written: spare slot"));
        }
        t.commune = commune;
        lines[0].replace(0, lines[0].indexOf('\t'), cp1252::encode(commune));
        // The folder is written to disk after the rename, so that a power cut keeps it.
        QStringList synced;
        filesync::setSyncWatcher([&synced](const QString &folder) { synced << folder; });
        QVERIFY(t.save(path));
        filesync::setSyncWatcher({});
        QCOMPARE(synced, QStringList{QFileInfo(path).absolutePath()});
        QCOMPARE(readBytes(t.backupPath()), bytes);
        bytes = lines.join("\r\n") + "\r\n";
        QVERIFY(readBytes(path) == bytes);
        // A second save writes the same again and keeps the first one's file as the backup.
        QVERIFY(t.save(path) && readBytes(path) == bytes && readBytes(t.backupPath()) == bytes);
        QCOMPARE(t.lines().size(), lines.size() + 1);
    }
    void utf8Content_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        for (const QStringList &c : testutil::caseRows("utf8_content.txt"))
            QTest::newRow(qPrintable(c[0])) << testutil::bytesOf(c[1]) << (c[2] == u"yes");
    }
    void utf8Content()
    {
        QFETCH(QByteArray, bytes); QFETCH(bool, utf8);
        QCOMPARE(utf8check::looksLikeUtf8(bytes), utf8);
        utf8check::Check byBytes;   // a file read in blocks
        for (char b : bytes)
            byBytes.feed(QByteArrayView(&b, 1));
        QCOMPARE(byBytes.looksLikeUtf8(), utf8);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("t.krv"), bytes));
        QCOMPARE(utf8check::fileLooksLikeUtf8(dir.filePath("t.krv")), utf8);
    }
    void failureReasons()
    {
        const QMap<QString, int> errnos{{"ENOSPC", ENOSPC}, {"EACCES", EACCES}, {"EPERM", EPERM}, {"EDQUOT", EDQUOT},
                                        {"EIO", EIO}, {"EROFS", EROFS}, {"ENAMETOOLONG", ENAMETOOLONG}, {"EBUSY", EBUSY}};
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("fichier")), "x"));
        for (const QStringList &c : testutil::caseRows("failure_reasons.txt")) {
            const QString report = errnos.contains(c[1]) ? qt_error_string(errnos[c[1]]) : c[1];
            const int error = errnos.value(c[3]);
            QCOMPARE(filesync::failureReason(dir.filePath(c[0]), report, error), c[2].arg(dir.path()));
            if (!error)
                QCOMPARE(filesync::failureReason(dir.filePath(c[0]), report), c[2].arg(dir.path()));
        }
    }
    void scratchSave()
    {
        QTemporaryDir dir;
        TableStore t;
        t.setAppFolder(dir.path());
        t.setContent({header(), recordLine({{"Nom EPX", "A"}})});
        // The first scratch save of a fresh folder writes Temp.tmp although none existed.
        QVERIFY(t.scratchSave());
        QCOMPARE(readBytes(t.scratchPath()), fileBytes({header(), recordLine({{"Nom EPX", "A"}})}));
        QVERIFY(!QFile::exists(t.backupPath()));
        t.setLine(1, recordLine({{"Nom EPX", "B"}}));
        QVERIFY(t.scratchSave());
        QCOMPARE(readBytes(t.backupPath()), fileBytes({header(), recordLine({{"Nom EPX", "A"}})}));
    }
    void scratchClock()
    {
        ScratchClock c;
        c.start(QTime(10, 0, 0));
        QVERIFY(!c.tick(QTime(10, 2, 0), false)); // exactly two minutes: not more
        QVERIFY(c.tick(QTime(10, 3, 1), false) && c.lastSave == QTime(10, 3, 1) && !c.tick(QTime(10, 4, 1), false));
        c.start(QTime(23, 59, 30));
        QVERIFY(c.tick(QTime(0, 0, 30), false)); // across midnight the gap reads 23:59:00
        QCOMPARE(ScratchClock::elapsedText(QTime(23, 59, 30), QTime(0, 0, 30)), QStringLiteral("23:59:00"));
        QCOMPARE(ScratchClock::elapsedText(QTime(8, 0), QTime(9, 0)) + u' ' + ScratchClock::elapsedText(QTime(8, 0), QTime(9, 59, 59)),
                 QStringLiteral("01:00:00 01:59:59"));   // an hour, and a second short of two
    }
    void deleteAndParishes()
    {
        TableStore t;
        t.setContent({header(), "r1", "r2", "r3"});
        QVERIFY(!t.deleteRecord(0) && !t.deleteRecord(4) && t.deleteRecord(2));   // the spare slot (4) is no record
        t.setLine(9, "r9");   // beyond the table: nothing
        QCOMPARE(t.lines(), (QStringList{header(), "r1", "r3", ""}));
        QCOMPARE(t.line(4) + t.line(-1), QString());
        QCOMPARE(splitParishList(QString("A") + record::Nbsp + "B" + record::Nbsp + "C"), (QStringList{"A", "B", "C"}));
    }
    // Record lines to the entry window's boxes and back.
    void everyFieldRoundTrips()
    {
        QString line = fullRecordLine(7) + QStringLiteral("\tafter a tab in the notes");
        TableStore t = tableOf({line, fullRecordLine(8)});
        EntryState s;
        s.recordNumber = "1";
        QCOMPARE(transfer::show(t, s, transfer::First), transfer::Result::Ok);
        QVERIFY(s.actLabel == QStringLiteral("Contrat de Mariage") && s.dispense);
        QCOMPARE(s.txt[30], QStringLiteral("v7é161\tafter a tab in the notes"));
        QCOMPARE(s.parish, QStringLiteral("v7é2"));
        // Where each field is shown follows the field catalogue (checked whole by the store test).
        QCOMPARE(s.txt[13] + '|' + s.groups[0] + '|' + s.groups[16],
                 QStringLiteral("v7é28|v7é11\tv7é12\tv7é13\tv7é14\tv7é15\tv7é16|v7é160"));
        QCOMPARE(s.previous, (std::array<QString, 9>{}));
        QCOMPARE(transfer::store(t, s, transfer::StoreOnly), transfer::Result::Ok);
        QCOMPARE(t.line(1), line);
        QCOMPARE(t.upperIndex(), 3);
        // On record 2 the panel shows record 1: the date, then each person's fields.
        QCOMPARE(transfer::store(t, s, transfer::Next), transfer::Result::Ok);
        const auto f = [](int a, int b = 0) {
            return b ? QStringLiteral("v7é%1").arg(a) + record::Nbsp + QStringLiteral("v7é%1").arg(b)
                     : QStringLiteral("v7é%1").arg(a);
        };
        QCOMPARE(s.previous, (std::array<QString, 9>{"03/05/1815", f(7, 8), f(9), f(17, 18), f(28, 29), f(57, 58),
                                                     f(59), f(67, 68), f(78, 79)}));
        QCOMPARE(s.previousNumber, QStringLiteral("1"));
    }
    void newRecordWithoutSurnameIsNotStored()
    {
        TableStore t = tableOf({recordLine({{"Lieu", "Kerlouan"}, {"Paroisse", "Notre-Dame"}, {"Nom EPX", "A"}})});
        EntryState s;
        s.recordNumber = "1";
        transfer::show(t, s, transfer::End);
        QCOMPARE(QStringList({s.recordNumber, s.txt[0], s.parish, s.actLabel}),
                 (QStringList{"2", "Kerlouan", "Notre-Dame", "Mariage"}));
        QCOMPARE(s.groups[10].count(u'\t'), 11);
        s.txt[2] = s.txt[7] = "Jean";   // the reference box too: the new record shown is empty
        transfer::store(t, s, transfer::Next);
        QCOMPARE(t.upperIndex(), 2);
        QCOMPARE(s.txt[2] + s.txt[7], QString());
        s.txt[18] = s.txt[22] = "BRIAND";   // her father without first names: the copy is no father
        s.txt[3] = "5", transfer::store(t, s, transfer::Next);
        QCOMPARE(t.upperIndex(), 3);
        QCOMPARE(s.count + s.recordNumber + s.previousNumber, QStringLiteral("332"));
        QCOMPARE(t.line(2), recordLine({{"Lieu", "Kerlouan"}, {"Paroisse", "Notre-Dame"}, {"Date", ".5/../...."}, {"Nom EPSE", "BRIAND"}}));
        QCOMPARE(s.previous[5], QStringLiteral("BRIAND") + record::Nbsp);
        s.txt[18] = "AUFFRET";   // a month alone, or a year alone, is a date too
        s.txt[4] = "5", transfer::store(t, s, transfer::Next);
        s.txt[18] = "BERNARD", s.txt[5] = "1815", transfer::store(t, s, transfer::Previous);
        QCOMPARE(record::fieldOf(t.line(3), 5) + record::fieldOf(t.line(4), 5), QStringLiteral("../.5/....../../1815"));
    }
    void navigationBounds()
    {
        TableStore t = tableOf({recordLine({{"Nom EPX", "A"}}), recordLine({{"Nom EPX", "B"}})});
        EntryState s;
        s.recordNumber = "1", transfer::store(t, s, transfer::Previous);
        QCOMPARE(s.recordNumber + s.previousNumber, QStringLiteral("1"));
        transfer::store(t, s, transfer::Typed, 2);
        QCOMPARE(s.txt[6] + s.previousNumber, QStringLiteral("B")); // modes 5 and 6 leave the panel alone
        transfer::store(t, s, transfer::Next), transfer::store(t, s, transfer::Next);
        QCOMPARE(s.recordNumber, QStringLiteral("3"));
        // Lines that cannot be shown.
        t = tableOf({QStringLiteral("too\tfew"), recordLine({{"Date", "1815"}})});
        s.recordNumber = "1";
        QCOMPARE(transfer::show(t, s, transfer::First), transfer::Result::Incompatible);
        QCOMPARE(transfer::show(t, s, transfer::Typed, 2), transfer::Result::Incompatible);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store_table.moc"
