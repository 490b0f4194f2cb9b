// The real program under Xvfb, driven by real key presses: Delete as X11 sends it (character 127) in the number and
// search boxes, accents typed on a French keymap, the middle-button paste. Skipped without Xvfb or xdotool.
#include "testutil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

class TestVelderKeyboard : public QObject {
    Q_OBJECT
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString window;

    QString xdo(const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xdotool"), args);
        if (!p.waitForFinished(10000) || p.exitCode() != 0)
            p.kill(), qWarning("xdotool %s failed: %s", qPrintable(args.join(u' ')), p.readAllStandardError().constData());
        QTest::qWait(200);   // the program follows each step before the next
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    void click(int x, int y) { xdo({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"}); }
    void keys(const QString &names) { xdo(QStringList{"key", "--delay", "50"} + names.split(u' ')); }
    // A French keyboard: é è ç à on their keys, ê and ô through the dead circumflex. (A letter missing from the
    // keymap would make xdotool change the keymap while typing, and keys may be lost while the program reads it.)
    void type(const QString &text)
    {
        for (const QString &run : text.split(QRegularExpression("(?=[êô])"))) {
            const bool circumflex = run.startsWith(u'ê') || run.startsWith(u'ô');
            if (circumflex)
                xdo({"key", "dead_circumflex", run.startsWith(u'ê') ? "e" : "o"});
            if (run.size() > circumflex)
                xdo({"type", "--delay", "60", run.mid(circumflex)});
        }
    }

private slots:
    void deleteAndAccentsThroughX11()
    {
        QProcess bare;   // without a display: --version and --help answered, else said, and no window tried
        bare.setProcessEnvironment(QProcessEnvironment());   // an empty one, not the inherited one
        bare.start(qEnvironmentVariable("VELDER_BIN"), {"--version"});
        QVERIFY(bare.waitForFinished(10000) && bare.exitCode() == 0 && bare.readAll() == "Velder " VELDER_VERSION "\n");
        bare.start(qEnvironmentVariable("VELDER_BIN"), {"--help"});
        QVERIFY(bare.waitForFinished(10000) && bare.exitCode() == 0 && bare.readAll().startsWith("Utilisation : velder [TABLE]\n"));
        bare.start(qEnvironmentVariable("VELDER_BIN"));
        QVERIFY(bare.waitForFinished(10000) && bare.exitCode() == 1 && bare.readAllStandardError() == "velder: no display found; run it on a desktop, "
                "or without one as: xvfb-run -a " + qEnvironmentVariable("VELDER_BIN").toLocal8Bit() + '\n');
        for (const char *named : {"DISPLAY=:65000", "WAYLAND_DISPLAY=velder-none", "QT_QPA_PLATFORM=velder-none"}) {
            bare.setEnvironment({named}), bare.start(qEnvironmentVariable("VELDER_BIN"));   // a display named, not there: Qt says so
            QVERIFY2(bare.waitForFinished(10000) && !bare.readAllStandardError().startsWith("velder: no display found"), named);
        }
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("Xvfb or xdotool is not installed");
        QTemporaryDir dir;   // the program, its lock and its table, away from build/
        const QString program = dir.filePath("velder"), table = dir.filePath("Valmorin.krv");
        QVERIFY(QFile::copy(qEnvironmentVariable("VELDER_BIN"), program));
        QVERIFY(QFile::copy(qEnvironmentVariable("VELDER_TEST_DATA") + "/../../samples/Valmorin.krv", table));
        QFile::setPermissions(table, QFile::ReadOwner | QFile::WriteOwner);
        QProcess xvfb;
        int display = 100 + QCoreApplication::applicationPid() % 500;   // a display nobody holds
        while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            ++display;
        env.insert("DISPLAY", QStringLiteral(":%1").arg(display));
        env.insert("QT_QPA_PLATFORM", "xcb");
        xvfb.setStandardErrorFile(QProcess::nullDevice());
        xvfb.start(QStringLiteral("Xvfb"), {env.value("DISPLAY"), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); }, 10000));
        QCOMPARE(QProcess::execute("setxkbmap", {"-display", env.value("DISPLAY"), "fr"}), 0);
        QProcess velder;
        velder.setProcessEnvironment(env);
        velder.start(program, {table});
        window = xdo({"search", "--sync", "--onlyvisible", "--name", "VELDER - "}).section(u'\n', 0, 0);
        QVERIFY(!window.isEmpty());
        QProcess second;   // a second copy in the same folder leaves at once, and quietly
        second.setProcessEnvironment(env), second.start(program, {table});
        QVERIFY(second.waitForFinished(10000) && second.exitCode() == 0 && second.readAll().isEmpty());
        xdo({"windowfocus", "--sync", window});
        // The new record 6: the surname, first names and notes typed with accents.
        click(68, 283), type("le guével");
        click(254, 283), type("jérôme-françois");
        click(162, 470);
        type("reçu à côté de l'église, frère, fête");
        keys("shift+Home");   // selected with the keys, then pasted by the middle button into the origin (not the parish)
        xdo({"mousemove", "--window", window, "68", "315", "click", "2", "mousemove", "--window", window, "330", "17", "click", "2"});
        // The husband's details (centred on 1024 x 768): a profession typed, mouse-selected, middle-button pasted into the remarks.
        click(372, 283);
        keys("Tab Tab Tab Tab");
        type("meunier");
        xdo({"mousemove", "507", "404", "mousedown", "1", "mousemove", "629", "404", "mouseup", "1"});
        xdo({"mousemove", "569", "425", "click", "2"});
        keys("Escape");
        // Number box: Delete empties it, then "2" goes to record 2 (not to "62").
        click(623, 201);
        keys("Home Delete 2");
        click(162, 470);
        keys("End");
        type(" vu");
        // Search: "T" finds record 4, "TK" nothing; Delete before "T" leaves "K", record 3.
        click(651, 16);
        type("tk");
        keys("Home Delete");
        click(162, 470);
        type("voir à côté");
        keys("Tab Tab Tab Tab Tab Tab Return");   // "Quitter"
        QVERIFY(velder.state() == QProcess::NotRunning || velder.waitForFinished(10000));
        xvfb.terminate(), xvfb.waitForFinished(5000);
        // The sample with the notes of records 2 and 3 lengthened and the new record 6, written by hand.
        QCOMPARE(readBytes(table), readBytes(qEnvironmentVariable("VELDER_TEST_DATA") + "/valmorin_typed.krv"));
    }
};

QTEST_GUILESS_MAIN(TestVelderKeyboard)
#include "test_velder_keyboard.moc"
