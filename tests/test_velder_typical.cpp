// The whole program driven as a volunteer would: a new table made from an empty folder, one marriage typed
// through the entry and detail windows, the file checked byte for byte; then "Ouvrir" between two tables.
#include "app/form1.h"
#include "app/program.h"
#include "detail/detailwindow.h"
#include "detail/frmrem.h"
#include "tables/frmouvrir.h"
#include "testutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using detail::FrmRem;
using namespace testutil;

namespace {
// Keys go where the keyboard sends them: to the control that has the focus.
QWidget *focused() { return QApplication::focusWidget(); }
// Each character as a key press and release carrying it, accented letters included.
void type(const QString &text)
{
    for (QChar c : text) {
        QVERIFY(focused());
        QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}
void press(Qt::Key key) { QTest::keyClick(focused(), key); }
// Types each entry and Enter after it ("" for Enter alone).
void enter(const QStringList &entries)
{
    for (const QString &e : entries)
        type(e), press(Qt::Key_Return);
}
void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
// A window whose transient parent is active counts as active for Qt Test: wait until it is itself the active window.
bool activate(QWidget *w)
{
    w->activateWindow();
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; });
}
// The program on a temporary application folder, every message box and question answered here and written down.
struct Session {
    QTemporaryDir dir;
    std::unique_ptr<Program> program;
    QStringList messages;   // title: text
    int quits = 0, unloaded = 0, detailShown = 0;   // the manager ended the program, the entry window closed, details
    bool yes = false;       // the manager's answer to every question
    QString sources;        // the answer to the "Sources" prompt
    std::function<void(FrmRem &)> detailSteps;

    QString path(const QString &name) const { return dir.filePath(name); }
    FrmOuvrir &manager() { return program->manager(); }
    Form1 &entry() { return program->entry(); }

    // Made once the folder holds its tables.
    Program &make()
    {
        // The trash stays inside the test's folder.
        QDir(dir.path()).mkdir(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
        program = std::make_unique<Program>(dir.path());
        auto note = [this](const QString &title, const QString &text) { messages << title + QStringLiteral(": ") + text; };
        FrmOuvrir &m = manager();
        m.showMessage = [note](const QString &title, const QString &text, QMessageBox::Icon) { note(title, text); };
        m.askYesNo = [this, note](const QString &title, const QString &text, QMessageBox::Icon, bool) { return note(title, text), yes; };
        m.quitProgram = [this] { ++quits; };
        m.startProgram = [](const QString &, const QString &) { return true; };
        Form1 &e = entry();
        e.showMessage = note;
        e.askYesNo = [note](const QString &title, const QString &text) { return note(title, text), false; };
        e.askSaveFailure = [note](const QString &t, const QString &text) { return note(t, text), savefailure::Choice::Stay; };
        e.onUnloaded = [this] { ++unloaded; };
        detail::hooks().prompt = [this](auto &&...) { return sources; };
        detail::hooks().warning = [note](QWidget *, const QString &title, const QString &text) { note(title, text); };
        detail::hooks().openUrl = [](const QUrl &) {};
        // The detail window is modal: the steps run once it is up; a failed step still closes it so that the test reports.
        detail::hooks().shown = [this](FrmRem &w) {
            ++detailShown;
            if (activate(&w) && detailSteps)
                detailSteps(w);
            detailSteps = {};
            if (!w.committed())
                w.CmdOk_Click();
        };
        return *program;
    }
};
} // namespace

class TestVelderTypical : public QObject {
    Q_OBJECT
private slots:
    void init() { detail::detailMode = 0; }
    void cleanup() { detail::hooks() = {}; }
    void typicalRecordFromAnEmptyFolder()
    {
        Session answers;
        Program &program = answers.make();
        FrmOuvrir &manager = program.manager();
        Form1 &entry = program.entry();
        program.start();
        QCOMPARE(manager.File1->count(), 0);
        QVERIFY(activate(&manager));
        // a new table, its properties asked for in the detail window
        click(manager.OptNvtbl), type(QStringLiteral("Lanvézec.txt"));
        answers.sources = QStringLiteral("1802 à 1870_ADO : 3E112@1871 à 1899_Mairie : 3E113");
        answers.detailSteps = [&](FrmRem &w) {
            enter({"lanvézec", "anne le goff", "12/03/2024", "yves morvan", "marie kerbrat"});
            type(QStringLiteral("Étude des mariages de Lanvézec"));
            click(w.CmdPrecedent); // "Sources"
            click(w.CmdOk);
        };
        press(Qt::Key_Return); // Enter in the name box opens
        // The new table is made and opened on its spare slot.
        const QString path = answers.path(QStringLiteral("Lanvézec.krv"));
        QVERIFY(!manager.isVisible() && entry.isVisible());
        // a parish added through "..."
        answers.detailSteps = [&](FrmRem &w) {
            type(QStringLiteral("saint-pierre"));
            click(w.CmdPrecedent); // "Ajouter"
            click(w.TxtRqEp[0]);
            type(QStringLiteral("notre-dame"));
            click(w.CmdPrecedent);
            click(w.TxtRqEp[0]);
            type(QStringLiteral("SAINT-PIERRE"));
            click(w.CmdPrecedent); // already listed, letter case aside
            click(w.CmdOk);
        };
        click(entry.CmdRq[0]);
        QCOMPARE(answers.messages, QStringList{"Velder: La paroisse est déjà présente dans la liste"});
        answers.messages.clear();
        // the parish, completed from the list
        QVERIFY(activate(&entry));
        click(entry.CmbParoisse->lineEdit());
        enter({"saint-p"});
        press(Qt::Key_Tab);
        // the act type: a contract, then back to a marriage
        press(Qt::Key_Down);
        QCOMPARE(entry.CmbActe->currentText(), QStringLiteral("Contrat de Mariage"));
        press(Qt::Key_Up);
        press(Qt::Key_Return);
        // the date: day and month padded on leaving, the year moves on by itself (where
        // each key landed, the focus included, is seen in the file written at the end)
        enter({"7", "5"});
        type(QStringLiteral("1811"));
        press(Qt::Key_Tab);
        // the husband and his parents
        enter({"de kerguelen", "jean-françois", "plouvern", "2x9"});   // a place code takes digits
        press(Qt::Key_Tab);
        enter({"", "yves", "+", "morvan", "marie-anne", ""});   // the father bears the husband's surname; the mother alive
        QVERIFY(entry.Txt[10]->text() == u"de KERGUELEN" && !entry.Txt[10]->hasSelectedText());   // selected on entering, not after
        press(Qt::Key_Tab);
        enter({"", ""});   // no previous spouse
        press(Qt::Key_Tab);
        // the wife and her parents
        enter({"le goff", "marie-josèphe", "LANVÉZEC", "22"});
        press(Qt::Key_Tab);
        enter({"", "guillaume", "", "d'argentré", "JEANNE", "+"});
        QCOMPARE(focused(), entry.CmdRq[5]);
        // four witnesses on the witness pages; fill clicks into each box given and types its text
        auto fill = [](FrmRem &w, const QList<QPair<int, QString>> &boxes) {
            for (const auto &[box, text] : boxes)
                click(w.TxtRqEp[box]), type(text);
        };
        answers.detailSteps = [&](FrmRem &w) {
            enter({"riou"});
            type(QStringLiteral("hervé"));
            click(w.Option2[0]); // M
            fill(w, {{2, "45"}, {3, "plouvern"}, {4, "29"}, {5, "lanvézec"}, {6, "22"}, {7, "laboureur"}, {8, "oncle"}});
            click(w.Option1[0]); // of the husband
            fill(w, {{9, "signe"}});
            click(w.CmdSuivant);   // an unused witness comes empty, "F"
            fill(w, {{0, "le bihan"}, {1, "pierre"}}), click(w.Option2[0]);
            fill(w, {{7, "meunier"}});
            click(w.CmdSuivant);
            fill(w, {{0, "kerbrat"}, {1, "louise"}, {2, "30"}, {5, "saint-éloi"}, {8, "cousine"}});
            click(w.CmdSuivant);
            fill(w, {{0, "tanguy"}, {1, "jean"}}), click(w.Option2[0]);
            fill(w, {{7, "tisserand"}, {9, "ne signe pas"}});
            click(w.CmdOk);
        };
        click(entry.CmdTemoin);
        QVERIFY(activate(&entry));
        click(entry.Txt[30]);
        type(QStringLiteral("bans publiés 3 fois"));
        // "Suivant >>" stores the record and shows the next new one
        click(entry.CmdSuivant);
        QCOMPARE(QStringList({entry.Txtnb->text(), entry.Txt[6]->text(), entry.Lbl[1]->text(), entry.groups()[10]}),
                 QStringList({"2", "", "de KERGUELEN\u00a0Jean-François", QString(11, u'\t')}));   // nothing of the witnesses left
        click(entry.CmdQuitter);
        QVERIFY(answers.unloaded == 1 && answers.messages.isEmpty());
        // The table as written by hand: header and record, Windows-1252, CR LF.
        QCOMPARE(readBytes(path), readBytes(qEnvironmentVariable("VELDER_TEST_DATA") + "/typical_record.krv"));
    }
    void ouvrirGoesBackAndOpensAnotherTable()
    {
        Session s;
        // Two tables, and the files they must become, written by hand.
        const QString data = qEnvironmentVariable("VELDER_TEST_DATA") + "/ouvrir/";
        const QString first = s.path(QStringLiteral("Kerivoal.krv")), second = s.path(QStringLiteral("Trogor.krv"));
        QVERIFY(QFile::copy(data + "Kerivoal.krv", first) && QFile::copy(data + "Trogor.krv", second));
        Program &program = s.make();
        FrmOuvrir &manager = program.manager();
        Form1 &entry = program.entry();
        // Number, commune, husband, parishes listed and the one shown, the previous record and its number.
        auto shown = [&] {
            return QStringList{entry.Txtnb->text(), entry.Txt[0]->text(), entry.Txt[6]->text(), entry.CmbParoisse->currentText(),
                QString::number(entry.CmbParoisse->count()), entry.Lbl[1]->text(), entry.Lblnb2->text()}.join(u'|');
        };
        program.start();
        QVERIFY(activate(&manager));
        // Enter in the list opens the table selected, the first, on a new record.
        manager.File1->setFocus();
        press(Qt::Key_Return);
        QVERIFY(!manager.isVisible() && entry.isVisible());
        QCOMPARE(shown(), QStringLiteral("2|Kerivoal||Saint-Yves|1|PRIGENT\u00a0Goulven|1"));
        QVERIFY(activate(&entry));
        click(entry.Txt[6]);
        enter({"tanguy"});
        type(QStringLiteral("alain"));
        // "Ouvrir" stores, saves and brings the manager back.
        click(entry.CmdOuvrir);
        QVERIFY(manager.isVisible() && !entry.isVisible());
        // Typed without his first names, the father keeps no copy of the surname.
        QCOMPARE(readBytes(first), readBytes(data + "Kerivoal_typed.krv"));
        // A double click on the other table shows that one.
        QVERIFY(activate(&manager));
        const QListWidgetItem *trogor = manager.File1->findItems(QStringLiteral("Trogor.krv"), Qt::MatchExactly).value(0);
        const QPoint at = manager.File1->visualItemRect(trogor).center();
        QTest::mouseClick(manager.File1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(manager.File1->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!manager.isVisible() && entry.isVisible());
        QCOMPARE(entry.windowTitle(), QStringLiteral(" VELDER - ") + QDir::toNativeSeparators(second));
        QCOMPARE(shown(), QStringLiteral("3|Trogor||Saint-Gorvel|2|OLLIVIER\u00a0Tugdual|2"));
        // Back to the manager; a new table then shows nothing of the one before.
        click(entry.CmdOuvrir);
        QVERIFY(activate(&manager));
        click(manager.OptNvtbl);
        type(QStringLiteral("Brenvoal"));
        s.detailSteps = [&](FrmRem &w) {
            QCOMPARE(w.TxtRqEp[0]->text(), QString());
            type(QStringLiteral("brenvoal"));
            click(w.CmdOk);
        };
        click(manager.OKButton);
        QVERIFY(entry.isVisible());
        QCOMPARE(shown(), QStringLiteral("1|Brenvoal|||0||"));
        // "Ouvrir" saves the new table with a record; put in the trash then, it does not come back when the program ends.
        QVERIFY(activate(&entry));
        click(entry.Txt[6]);
        type(QStringLiteral("kermarrec"));
        click(entry.CmdOuvrir);   // and selects it in the manager
        const QString brenvoal = s.path(QStringLiteral("Brenvoal.krv"));
        QCOMPARE(readBytes(brenvoal), readBytes(data + "Brenvoal_typed.krv"));
        QVERIFY2(s.messages.isEmpty(), qPrintable(s.messages.join(u'\n')));
        s.yes = true;
        click(manager.CmdSuppr);
        QVERIFY(!QFile::exists(brenvoal));
        click(manager.CmdAnnuler);
        QCOMPARE(s.quits, 1);
        QVERIFY2(!QFile::exists(brenvoal), "the deleted table came back");
        // The other tables hold what was typed, no more.
        QCOMPARE(readBytes(second), readBytes(data + "Trogor.krv"));
        QCOMPARE(readBytes(first), readBytes(data + "Kerivoal_typed.krv"));
    }
    void detailWindowKeepsTheRecordShown_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("way");   // left by "Quitter", by the close box, or by the program ending from the manager
        // Record 1 (or 5), its number then removed with Backspace: the box is empty.
        QTest::newRow("number box emptied") << 1 << 0;
        // Record 12, its last digit cut: the box reads "1", another record's number.
        QTest::newRow("number box reads another number") << 12 << 1;
        QTest::newRow("program ended from the manager") << 5 << 2;
    }
    // A table named on the command line; properties and about box from the toolbar, the number box not naming the record shown.
    void detailWindowKeepsTheRecordShown()
    {
        QFETCH(int, start); QFETCH(int, way); const bool cut = start > 9;
        Session s;
        const QString table = s.path(QStringLiteral("Trogor.krv"));
        QStringList records;
        for (int i = 1; i <= 13; ++i)
            records << recordLine({{"Lieu", "Trogor"}, {"Nom EPX", QStringLiteral("GUÉGUEN%1").arg(i)}});
        const QString header = QStringLiteral("Trogor\t1820 à 1840_ADO : 3E9\tGwen\u00a0\u00a0\u00a0\u00a0\tLocmaria");
        const QByteArray before = fileBytes(QStringList{header} + records);
        QVERIFY(writeBytes(table, before));
        Program &program = s.make();
        Form1 &entry = program.entry();
        // A table named at start that is not there: its path is named, the manager shown.
        const QString missing = s.path(QStringLiteral("ailleurs/Kerlaz.krv"));
        program.start(missing);
        QCOMPARE(s.messages, QStringList{QStringLiteral("VELDER: La table %1 est introuvable.").arg(QDir::toNativeSeparators(missing))});
        QVERIFY(program.manager().isVisible() && !entry.isVisible());
        program.manager().hide();
        s.messages.clear();
        // One that is there opens at once; the manager stays out of sight.
        program.start(table);
        QVERIFY(!program.manager().isVisible() && entry.isVisible() && activate(&entry));
        click(entry.Txtnb);
        QCoreApplication::processEvents(); // the box selects its number on the focus
        type(QString::number(start));
        if (cut) {
            QTest::keyClick(focused(), Qt::Key_Left, Qt::ShiftModifier);
            QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_X, QString(QChar(0x18)), Qt::ControlModifier);
        } else {
            press(Qt::Key_Backspace);
        }
        QCOMPARE(entry.Txtnb->text(), cut ? QStringLiteral("1") : QString());
        s.detailSteps = [&](FrmRem &w) {   // the table's properties: the commune typed over
            type(QStringLiteral("kerbiriou"));
            click(w.CmdOk);
        };
        click(entry.PicBouton[0]);
        s.detailSteps = [&](FrmRem &w) {
            QCOMPARE(w.mode(), 13);
        };
        click(entry.PicBouton[3]);
        QCOMPARE(s.detailShown, 2);
        for (const int rq : {3, 6}) {   // the husband's previous spouses, then the wife's
            s.detailSteps = [&](FrmRem &w) {
                enter({"le bras"});
                type(QStringLiteral("anne"));
                click(w.CmdSuivant);   // the entry window's boxes follow at once
                QCOMPARE(entry.Txt[rq == 3 ? 16 : 28]->text() + u'|' + entry.Txt[rq == 3 ? 17 : 29]->text(), QStringLiteral("LE BRAS|Anne"));
            };
            QVERIFY(activate(&entry));
            click(entry.CmdRq[rq]);
        }
        QCOMPARE(entry.Txt[6]->text(), QStringLiteral("GUÉGUEN%1").arg(start));
        QVERIFY(activate(&entry));
        click(entry.Txt[30]), type(QStringLiteral("note un"));
        click(entry.CmdSuivant);
        click(entry.Txt[30]), type(QStringLiteral("note deux"));
        if (way == 2)
            program.manager().close();   // e.g. the desktop session closing: the record shown is kept
        else
            way ? void(entry.close()) : click(entry.CmdQuitter);   // the close box stores and saves too
        QCOMPARE(way == 2 ? s.quits : s.unloaded, 1);
        QStringList expected = QStringList{QString(header).replace(QStringLiteral("Trogor\t1820"), QStringLiteral("Kerbiriou\t1820"))} + records;
        for (int k : {start, start + 1})
            expected[k] = recordLine({{"Lieu", "Trogor"}, {"Nom EPX", QStringLiteral("GUÉGUEN%1").arg(k)},
                                      {"Nom EXEPX1", k == start ? "LE BRAS" : ""}, {"Prenom EXEPX1", k == start ? "Anne" : ""},
                                      {"Nom EXEPSE1", k == start ? "LE BRAS" : ""}, {"Prenom EXEPSE1", k == start ? "Anne" : ""},
                                      {"Notes", k == start ? "note un" : "note deux"}});
        QCOMPARE(readBytes(table), fileBytes(expected));
        QCOMPARE(readBytes(s.path(QStringLiteral("Temp2.tmp"))), before);   // the former file kept
        QVERIFY2(s.messages.isEmpty(), qPrintable(s.messages.join(u'\n')));
    }
};

QTEST_MAIN(TestVelderTypical)
#include "test_velder_typical.moc"
