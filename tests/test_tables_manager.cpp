#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "tables/startup.h"
#include "tables/tablefiles.h"
#include "tables/tableupgrade.h"
#include "testutil.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testutil;
using tableupgrade::State;

namespace {
// 161 distinct fields; the husband's father has first names, the wife's too, unless told.
QStringList newFields(int n, bool husbandFather = true, bool wifeFather = true)
{
    QStringList f;
    for (int i = 1; i <= record::FieldCount; ++i)
        f << QStringLiteral("r%1é%2").arg(n).arg(i);
    f[6] = QStringLiteral("LE GOFF %1").arg(n);         // Nom EPX
    f[56] = QStringLiteral("de KERMABON %1").arg(n);    // Nom EPSE
    f[16] = husbandFather ? f[6] : QString();           // Nom PEPX
    f[17] = husbandFather ? QStringLiteral("Yves Marie") : QString();
    f[66] = wifeFather ? f[56] : QString();             // Nom PEPSE
    f[67] = wifeFather ? QStringLiteral("Hervé") : QString();
    return f;
}
// The same record as the older layout wrote it: fields 17 and 67 missing.
QString oldLine(QStringList f)
{
    f.removeAt(66);
    f.removeAt(16);
    return f.join(record::Tab);
}
} // namespace

class TestTablesManager : public QObject {
    Q_OBJECT
private slots:
    void upgradeMixedFileKeepsEveryByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mixte.krv"));
        // Every byte a field may hold, the unassigned ones of Windows-1252 included.
        QByteArray odd;
        for (int b = 0x20; b < 0x100; ++b)
            odd += char(b);
        QStringList first = newFields(1);
        first[0] = QString(), first[7] = cp1252::decode(odd);   // with no place: a line that starts with a TAB
        // The father's surname is copied only where he has first names.
        const QStringList noFather = newFields(4, false, true), noWifeFather = newFields(5, true, false);
        // Lines of any other count are left as they are.
        const QString current = newFields(2).join(record::Tab);
        const QString shortLine = QStringLiteral("Ploumanac'h\tSaint-Jean\tMA");
        const QStringList before{header(), oldLine(first), current, shortLine, QString(), oldLine(noFather),
                                 oldLine(noWifeFather)};
        QVERIFY(writeBytes(path, fileBytes(before)));
        QCOMPARE(tableupgrade::inspect(path), State::OldLayout);
        QCOMPARE(tableupgrade::upgradeTable(path), tableupgrade::UpgradeResult::Done);
        const QStringList after{header(), first.join(record::Tab), current, shortLine, QString(),
                                noFather.join(record::Tab), noWifeFather.join(record::Tab)};
        QCOMPARE(readBytes(path), fileBytes(after));
        QCOMPARE(tableupgrade::inspect(path), State::Current);
        // Nothing is left behind by the rewrite.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Mixte.krv")});
        // A rewrite that cannot be written (a full disk) leaves the table as it was.
        const QByteArray old = fileBytes(before);
        QVERIFY(writeBytes(path, old));
        {
            const SizeLimit limit(old.size());
            QCOMPARE(tableupgrade::upgradeTable(path), tableupgrade::UpgradeResult::WriteFailed);
        }
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Mixte.krv")});
    }
    void inspection_data()
    {
        QTest::addColumn<QByteArray>("bytes");   // "absent": no file, "folder": a folder of that name
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("said");
        const QByteArray h = cp1252::encode(header()), old = cp1252::encode(oldLine(newFields(1)));
        const QStringList states{"Current", "OldLayout", "Empty", "Missing", "Unreadable"};   // in the order of State
        for (const QStringList &c : caseRows("first_lines.txt"))
            QTest::newRow(qPrintable(c[0])) << bytesOf(c[1]).replace("<h>", h).replace("<old>", old) << int(states.indexOf(c[2])) << c.value(3);
        // A header longer than one read block, its CR LF split between two blocks.
        QTest::newRow("long header") << QByteArray(64 * 1024 - 1, 'x') + "\r\n" + old + "\r\n" << int(State::OldLayout) << QString();
    }
    void inspection()
    {
        QFETCH(QByteArray, bytes); QFETCH(int, state); QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brug.krv"));
        if (bytes == "folder")
            QDir(dir.path()).mkdir(QStringLiteral("Brug.krv"));
        else if (bytes != "absent")
            writeBytes(path, bytes);
        QCOMPARE(int(tableupgrade::inspect(path)), state);
        QCOMPARE(tableupgrade::inspectionMessage(State(state), QStringLiteral("Brug.krv")), said);
    }
    void namesListAndSiblings()
    {
        using namespace tablefiles;
        QCOMPARE(startup::appFolder(), QCoreApplication::applicationDirPath());   // the build folder, writable
        // Names compared without letter case, accents included; unsafe characters refused.
        QVERIFY(sameFileName(QStringLiteral("étang.krv"), QStringLiteral("ÉTANG.KRV")));
        QVERIFY(!sameFileName(QStringLiteral("bourg.krv"), QStringLiteral("bourgs.krv")));
        QCOMPARE(checkName(QStringLiteral("   ")), NameProblem::Empty);
        for (const char *bad : {"../Bourg", "a\\b", "C:b", "a|b"})
            QCOMPARE(checkName(QString::fromLatin1(bad)), NameProblem::BadCharacter);
        QCOMPARE(checkName(QStringLiteral("Saint-Gwénolé (1793)")), NameProblem::None);
        // Only files ending in ".krv", in any case, are tables.
        QTemporaryDir dir;
        for (const char *name : {"Bourg.krv", "abbaye.KRV", "notes.txt", "Zeste.krv.bak", "Faou.krv", "étang.krv"})
            writeBytes(dir.filePath(QString::fromUtf8(name)), fileBytes({header()}));
        QDir(dir.path()).mkdir(QStringLiteral("Archives.krv"));
        QLocale::setDefault(QLocale::French);   // sorted as the user's language sorts, whatever the case or accents
        QCOMPARE(listTables(dir.path()), (QStringList{"abbaye.KRV", "Bourg.krv", "étang.krv", "Faou.krv"}));
        // A sibling program is a file, with ".exe" or, off Windows, without.
        QDir(dir.path()).mkdir(QStringLiteral("VelderExport.exe"));
        QVERIFY(siblingProgram(dir.path(), QStringLiteral("VelderExport")).isEmpty());
        writeBytes(dir.filePath(QStringLiteral("PrintVelder.exe")), "MZ");
        QCOMPARE(siblingProgram(dir.path(), QStringLiteral("PrintVelder")), dir.filePath(QStringLiteral("PrintVelder.exe")));
#ifndef Q_OS_WIN
        writeBytes(dir.filePath(QStringLiteral("VelderExport")), "#!/bin/sh\n");
        QCOMPARE(siblingProgram(dir.path(), QStringLiteral("VelderExport")), dir.filePath(QStringLiteral("VelderExport")));
#endif
    }
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("table");
        using R = startup::Request;
        for (const QStringList &c : testutil::caseRows("command_lines.txt")) {
            QStringList arguments;
            for (const QString &w : c.mid(3))
                arguments << QString::fromLatin1(testutil::bytesOf(w));
            QTest::newRow(qPrintable(c[0])) << arguments << int(c[1] == u"Help" ? R::Help : c[1] == u"Version" ? R::Version : R::Run) << c[2];
        }
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments); QFETCH(int, request); QFETCH(QString, table);
        QCOMPARE(int(startup::requestFromArguments(arguments)), request);
        if (request == int(startup::Request::Run))
            QCOMPARE(startup::tablePathFromArguments(arguments),
                     table.isEmpty() || table.startsWith('/') ? table : QDir::current().absoluteFilePath(table));
        QCOMPARE(startup::tablePathFromCommandLine(QStringLiteral("\"C:\\Tables\\Saint Yves.krv\"")),
                 QStringLiteral("C:\\Tables\\Saint Yves.krv"));
        QCOMPARE(startup::tablePathFromCommandLine(QStringLiteral("\"")), QStringLiteral("\""));
    }
    // The tables' folder: the program's own if writable (here, the build folder), else the user's data folder, given the samples once.
    void applicationFolder_data()
    {
        QTest::addColumn<QString>("program");      // "ok": a folder holding Beg.krv; "bad": under a file
        QTest::addColumn<bool>("installed");       // samples Gwen.krv and Lann.krv beside an installed copy
        QTest::addColumn<QString>("user");         // "new", "used" (edited Gwen.krv, Lann.krv deleted), "bad"
        QTest::addColumn<QString>("chosen");       // "program" or "user"
        QTest::addColumn<QStringList>("tables");   // tables of the chosen folder
        for (const QStringList &c : caseRows("application_folders.txt"))
            QTest::newRow(qPrintable(c[0])) << c[1] << (c[2] == u"yes") << c[3] << c[4] << c.mid(5);
    }
    void applicationFolder()
    {
        QFETCH(QString, program); QFETCH(bool, installed); QFETCH(QString, user);
        QFETCH(QString, chosen); QFETCH(QStringList, tables);
        QTemporaryDir dir;
        const QDir d(dir.path());
        writeBytes(d.filePath("file"), "x");
        QString programFolder = d.filePath("file/bin");
        if (program == "ok") {
            d.mkpath("prefix/bin");
            programFolder = d.filePath("prefix/bin");
            writeBytes(d.filePath("prefix/bin/Beg.krv"), fileBytes({header("Beg")}));
        }
        if (installed) {
            d.mkpath("prefix/share/velder/samples");
            for (const char *name : {"Gwen", "Lann"})
                writeBytes(d.filePath(QStringLiteral("prefix/share/velder/samples/%1.krv").arg(name)), fileBytes({header(name)}));
        }
        const QByteArray edited = fileBytes({header("Gwen"), recordLine({{"Nom EPX", "LE BRAS"}})});
        QString userFolder = d.filePath(user == "bad" ? "file/data/Velder" : "data/Velder");
        if (user == "used") {
            d.mkpath("data/Velder");
            writeBytes(d.filePath("data/Velder/Gwen.krv"), edited);
        }
        const QString samples = startup::installedSamplesFolder(programFolder);
        QCOMPARE(samples.isEmpty(), !installed);
        const QString got = startup::chooseAppFolder(programFolder, userFolder, samples);
        QCOMPARE(QDir(got), QDir(chosen == "program" ? programFolder : userFolder));
        QCOMPARE(tablefiles::listTables(got), tables);
        if (chosen == "program" && user != "bad")
            QVERIFY(!QFileInfo::exists(userFolder));
        if (user == "used")
            QCOMPARE(readBytes(d.filePath("data/Velder/Gwen.krv")), edited);
        // No probe file is left behind.
        QCOMPARE(QDir(programFolder).entryList(QDir::Files).filter(".tmp"), QStringList());
    }
    // A lock left behind is taken over by the next start; one that cannot be removed sends the lock to the temporary folder.
    void leftLockIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("folder");
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        QTest::newRow("empty, after a power cut") << QByteArray() << false;
        QTest::newRow("not a lock") << QByteArrayLiteral("Saint-Aubin\r\nM\xe9nil\n") << false;
        QTest::newRow("our own number")
            << QByteArray::number(QCoreApplication::applicationPid()) + "\ntest_tables_manager\n" + host + "\n" << false;
        QTest::newRow("a live stranger")
            << QByteArray::number(getppid()) + "\ntest_tables_manager\n" + host + "\n" << false;
        const pid_t dead = fork();   // a process gone without releasing its lock
        if (dead == 0)
            _exit(0);
        waitpid(dead, nullptr, 0);
        QTest::newRow("a dead process") << QByteArray::number(dead) + "\ntest_tables_manager\n" + host + "\n" << false;
        QTest::newRow("a socket, not even openable") << QByteArray("socket") << false;
        QTest::newRow("a folder where the lock goes") << QByteArray() << true;
    }
    void leftLockIsTakenOver()
    {
        QFETCH(QByteArray, content); QFETCH(bool, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath("Velder.lck");
        if (folder) {
            QVERIFY(QDir(dir.path()).mkdir(startup::SingleInstance::lockFileName()));
        } else if (content == "socket") {
            sockaddr_un a{AF_UNIX, {}};
            std::strncpy(a.sun_path, QFile::encodeName(path).constData(), sizeof a.sun_path - 1);
            QVERIFY(::bind(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0), reinterpret_cast<sockaddr *>(&a), sizeof a) == 0);
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        {
            startup::SingleInstance first(dir.path());
            QVERIFY(first.isFirst());
            QCOMPARE(first.lockPath().startsWith(dir.path()), !folder);
            QFile lock(first.lockPath());   // a program that has run for hours still holds its lock
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-6 * 3600), QFileDevice::FileModificationTime));
            lock.close();
            QVERIFY(!startup::SingleInstance(dir.path()).isFirst());
        }
        QCOMPARE(QFileInfo(path).isDir(), folder);
        QVERIFY(startup::SingleInstance(dir.path()).isFirst());   // released at the end of the run
    }
};

QTEST_GUILESS_MAIN(TestTablesManager)
#include "test_tables_manager.moc"
