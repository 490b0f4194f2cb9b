// The real detail window driven as a user would: typing, paging, Escape, the
// parish list, the sources prompt and the about box link.
#include "detail/detailwindow.h"
#include "detail/frmrem.h"
#include "testutil.h"

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace detail;

namespace {

EntryState newEntry()
{
    EntryState e;
    transfer::showNewRecord(e);
    return e;
}

TableStore tableWith(const QStringList &origins, const QStringList &parishes = {})
{
    QStringList lines{testutil::header("Valbrune", parishes)};
    for (const QString &o : origins)
        lines << testutil::recordLine({{"Org EPX", o}});
    lines << QString();
    TableStore t;
    t.setContent(lines);
    return t;
}

// Runs the steps once the modal window is up; a failed step still closes it.
void drive(std::function<void(FrmRem &)> steps)
{
    hooks().shown = [steps](FrmRem &w) {
        w.activateWindow();
        if (QTest::qWaitForWindowActive(&w))
            steps(w);
        if (!w.committed())
            w.CmdOk_Click();
    };
}

// Types text as key events carrying each character (any character, not only Latin-1).
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

class TestDetailWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void witnessTypedPagedAndEscaped();
    void previousSpouseUpdatesEntryBoxesAtOnce();
    void escapeInParentsCommitsBoth();
    void enterMovesAlongTheTabOrder();
    void codeBoxAndPlaceCompletion();
    void pasteKeepsForbiddenCharactersOut();
    void storedLongCodeSurvivesOk();
    void parishList();
    void tableProperties();
    void aboutBoxLink();
    void guards();
};

void TestDetailWindow::init()
{
    hooks().shown = {};
    hooks().prompt = [](QWidget *, const QString &, const QString &, const QString &) { return QString(); };
    hooks().warning = [](QWidget *, const QString &, const QString &) {};
    hooks().openUrl = [](const QUrl &) {};
    detailMode = 0;
}

void TestDetailWindow::witnessTypedPagedAndEscaped()
{
    EntryState entry = newEntry();
    entry.groups[11] = QString();   // witness 2 never typed
    TableStore table = tableWith({});
    int modeWhileOpen = -1;
    drive([&](FrmRem &w) {
        modeWhileOpen = detailMode;
        QCOMPARE(w.LblRem[0]->text(), QString("Témoin 1"));
        QVERIFY(!w.CmdPrecedent->isEnabled());
        QVERIFY(w.Option2[1]->isChecked());
        QTest::keyClicks(w.TxtRqEp[0], "le goff");
        QTest::keyClick(w.TxtRqEp[0], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.TxtRqEp[1]);
        QTest::keyClicks(w.TxtRqEp[1], "jean-marie");
        w.Option2[0]->click();
        QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
        QCOMPARE(w.LblRem[0]->text(), QString("Témoin 2"));
        QVERIFY(w.CmdPrecedent->isEnabled());
        // Witness 2 was empty: witness 1's values stay shown.
        QCOMPARE(w.TxtRqEp[0]->text(), QString("LE GOFF"));
        w.TxtRqEp[9]->setFocus();
        typeText(w.TxtRqEp[9], "présent");
        QTest::keyClick(w.TxtRqEp[9], Qt::Key_Escape);
    });
    QCOMPARE(openDetailWindow(nullptr, Witnesses, entry, table), 1);
    QCOMPARE(modeWhileOpen, 8);
    QCOMPARE(detailMode, qint16(0));
    QCOMPARE(entry.groups[10], QString("LE GOFF\tJean-Marie\tM\t\t\t\t\t\t\t\t2\t"));
    QCOMPARE(entry.groups[11], QString("LE GOFF\tJean-Marie\tM\t\t\t\t\t\t\t\t2\tprésent"));
    QCOMPARE(entry.groups[12], QString(11, u'\t'));
}

void TestDetailWindow::previousSpouseUpdatesEntryBoxesAtOnce()
{
    EntryState entry = newEntry();
    entry.txt[28] = "RIOU";
    TableStore table = tableWith({});
    QStringList seen;
    auto changed = [&] { seen << entry.txt[28]; };
    drive([&](FrmRem &w) {
        QCOMPARE(w.LblRem[0]->text(), QString("Dernier Conjoint Epouse"));
        QCOMPARE(w.TxtRqEp[0]->text(), QString("RIOU"));
        w.TxtRqEp[0]->selectAll();
        typeText(w.TxtRqEp[0], "kerné");
        QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
        QCOMPARE(seen, QStringList{"KERNÉ"});      // before OK
        QCOMPARE(w.LblRem[0]->text(), QString("Avant-Dernier Conjoint Epouse"));
        QVERIFY(!w.CmdSuivant->isEnabled());
        QTest::keyClicks(w.TxtRqEp[0], "morvan");
        QTest::keyClick(w.TxtRqEp[0], Qt::Key_Escape);
    });
    openDetailWindow(nullptr, WifeSpouses, entry, table, changed);
    QCOMPARE(entry.txt[28], QString("KERNÉ"));
    QCOMPARE(entry.groups[9], QString("MORVAN\t\t\t\t\t\t\t\t"));
    QCOMPARE(entry.groups[8], QString(6, u'\t'));
    QCOMPARE(seen.size(), 1);
}

void TestDetailWindow::escapeInParentsCommitsBoth()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({});
    FrmRem w(entry, table);
    w.prepare(WifeParents);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClicks(w.TxtRqEp[1], "61");
    QTest::keyClicks(w.TxtRqEp[12], "kervel");
    QTest::keyClick(w.TxtRqEp[12], Qt::Key_Escape);
    QVERIFY(w.committed());
    QVERIFY(!w.isVisible());
    QCOMPARE(entry.groups[6], QString("\t61\t\t\t\t\t\t"));
    QCOMPARE(entry.groups[7], QString("\t\t\t\tKervel\t\t\t"));
}

void TestDetailWindow::enterMovesAlongTheTabOrder()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({});
    FrmRem w(entry, table);
    w.prepare(Witnesses);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Reading order: age, origin, its code, residence, its code, profession, kinship.
    w.TxtRqEp[2]->setFocus();
    for (int next : {3, 4, 5, 6, 7, 8}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.TxtRqEp[next]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() == w.Option1[0] || QApplication::focusWidget() == w.Option1[1]);
    // Enter on an option button does not press OK.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!w.committed());
    // The whole text is selected on entering a box.
    w.TxtRqEp[7]->setText("Tisserand");
    w.TxtRqEp[6]->setFocus();
    QTest::keyClick(w.TxtRqEp[6], Qt::Key_Return);
    QCOMPARE(w.TxtRqEp[7]->selectedText(), QString("Tisserand"));
    w.CmdOk_Click();
}

void TestDetailWindow::codeBoxAndPlaceCompletion()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({"Lannevez", "Paris"});
    FrmRem w(entry, table);
    w.prepare(Witnesses);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClicks(w.TxtRqEp[4], "a2b-93");
    QCOMPARE(w.TxtRqEp[4]->text(), QString("29"));
    QTest::keyClick(w.TxtRqEp[4], Qt::Key_Backspace);
    QCOMPARE(w.TxtRqEp[4]->text(), QString("2"));

    QTest::keyClicks(w.TxtRqEp[5], "PAR");
    QCOMPARE(w.TxtRqEp[5]->text(), QString("Paris"));
    QCOMPARE(w.TxtRqEp[5]->selectedText(), QString("is"));
    QTest::keyClicks(w.TxtRqEp[5], "x");
    QCOMPARE(w.TxtRqEp[5]->text(), QString("Parx"));
    w.CmdOk_Click();
    QCOMPARE(entry.groups[10], QString("\t\tF\t\t\t2\tParx\t\t\t\t2\t"));
}

void TestDetailWindow::pasteKeepsForbiddenCharactersOut()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({});
    FrmRem w(entry, table);
    w.prepare(HusbandDetails);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QGuiApplication::clipboard()->setText("Saint\tMartin\r\n");
    QTest::keyClick(w.TxtRqEp[5], Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.TxtRqEp[5]->text(), QString("SaintMartin"));
    QGuiApplication::clipboard()->setText(QString::fromUtf8("Łódź"));
    QTest::keyClick(w.TxtRqEp[5], Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.TxtRqEp[5]->text(), QString("SaintMartin"));
    // A code box takes digits, two at most.
    QGuiApplication::clipboard()->setText("123");
    QTest::keyClick(w.TxtRqEp[3], Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.TxtRqEp[3]->text(), QString("12"));
    // Typed characters outside Windows-1252 never enter.
    typeText(w.TxtRqEp[4], QString::fromUtf8("aŁb"));
    QCOMPARE(w.TxtRqEp[4]->text(), QString("Ab"));
    w.CmdOk_Click();
    QCOMPARE(entry.groups[0], QString("\t\t\t12\tAb\tSaintMartin"));
}

void TestDetailWindow::storedLongCodeSurvivesOk()
{
    EntryState entry = newEntry();
    entry.groups[0] = "1790\t25\tLannevez\t123\tLaboureur\t";
    TableStore table = tableWith({});
    FrmRem w(entry, table);
    w.prepare(HusbandDetails);
    QCOMPARE(w.TxtRqEp[3]->text(), QString("123"));
    w.CmdOk_Click();
    QCOMPARE(entry.groups[0], QString("1790\t25\tLannevez\t123\tLaboureur\t"));
}

void TestDetailWindow::parishList()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({}, {"SAINT MARTIN", "Notre-Dame"});
    QStringList warnings;
    hooks().warning = [&](QWidget *, const QString &title, const QString &text) { warnings << title + "|" + text; };
    drive([&](FrmRem &w) {
        QCOMPARE(w.LstParoisse->count(), 2);
        QTest::keyClicks(w.TxtRqEp[0], "saint martin");
        QCOMPARE(w.TxtRqEp[0]->text(), QString("Saint Martin"));
        QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
        QCOMPARE(warnings, QStringList{"Velder|La paroisse est déjà présente dans la liste"});
        QCOMPARE(w.LstParoisse->count(), 2);
        w.TxtRqEp[0]->setText("Saint-Martin");
        QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
        QCOMPARE(w.LstParoisse->count(), 3);
        QVERIFY(w.TxtRqEp[0]->text().isEmpty());
        QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);   // empty: adds nothing
        QCOMPARE(w.LstParoisse->count(), 3);
        // "Supprimer" with nothing selected removes nothing and says nothing.
        w.LstParoisse->clearSelection();
        QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
        QCOMPARE(w.LstParoisse->count(), 3);
        QCOMPARE(warnings.size(), 1);
        w.LstParoisse->setCurrentRow(0);
        QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
        QCOMPARE(w.LstParoisse->count(), 2);
        // No-break space and TAB never enter a parish name.
        typeText(w.TxtRqEp[0], QString("a") + record::Nbsp + "\tb");
        QCOMPARE(w.TxtRqEp[0]->text(), QString("Ab"));
        w.TxtRqEp[0]->clear();
        QTest::mouseClick(w.CmdOk, Qt::LeftButton);
    });
    openDetailWindow(nullptr, Parishes, entry, table);
    QCOMPARE(table.parishNames(), (QStringList{"Notre-Dame", "Saint-Martin"}));
}

void TestDetailWindow::tableProperties()
{
    EntryState entry = newEntry();
    TableStore table = tableWith({});
    table.people = QString("Ana") + record::Nbsp + "2024";   // fewer than four separators
    QStringList prompts;
    QString answer;
    hooks().prompt = [&](QWidget *, const QString &title, const QString &message, const QString &initial) {
        prompts << title << message << initial;
        return answer;
    };
    drive([&](FrmRem &w) {
        QCOMPARE(w.TxtRqEp[0]->text(), QString("Valbrune"));
        QCOMPARE(w.TxtRqEp[2]->text(), QString("2024"));
        QVERIFY(w.TxtRqEp[3]->text().isEmpty());
        QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);   // "Sources", answered empty
        QCOMPARE(table.sources, QString("1800 à 1850_AD : 3E1"));
        answer = "1793 à 1892_ADO : 2E279@1893 à 1899_Mairie : 4E280";
        QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
        QCOMPARE(table.sources, answer);
        typeText(w.TxtRqEp[5], "étude de la vallée");
        QTest::keyClick(w.TxtRqEp[5], Qt::Key_Escape);
    });
    openDetailWindow(nullptr, TableProperties, entry, table);
    QCOMPARE(prompts.size(), 6);
    QCOMPARE(prompts[0], QString("Sources et détail des périodes couvertes"));
    QCOMPARE(prompts[1], QString("Veuillez saisir les périodes avec les sources correspondantes. Pour saisir les "
                                 "différentes périodes: \n\n1793 à 1892\tADO : 2E279, 4E280\n1893 à 1899\tMairie : "
                                 "4E280\n\n1793 à 1892_ADO : 2E279, 4E280@1893 à 1899_Mairie : 4E280"));
    QCOMPARE(prompts[2], QString("1800 à 1850_AD : 3E1"));
    const QChar nb = record::Nbsp;
    QCOMPARE(table.people, QString("Ana") + nb + "2024" + nb + nb + nb + "étude de la vallée");
    QCOMPARE(table.commune, QString("Valbrune"));
}

void TestDetailWindow::aboutBoxLink()
{
    EntryState entry = newEntry();
    TableStore table;
    QList<QUrl> opened;
    hooks().openUrl = [&](const QUrl &u) { opened << u; };
    FrmRem w(entry, table);
    w.prepare(About);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.LblRem[1]->text(), QString("Version ") + VELDER_VERSION);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w.LblRem[4], &enter);
    QVERIFY(w.LblRem[4]->font().underline());
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w.LblRem[3]->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.LblRem[3], &move);
    QVERIFY(!w.LblRem[4]->font().underline());
    QTest::mouseClick(w.LblRem[4], Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{QUrl("mailto:" + ContactAddress)});
    QTest::mouseClick(w.CmdOk, Qt::LeftButton);
    QVERIFY(w.committed());
}

void TestDetailWindow::guards()
{
    EntryState entry = newEntry();
    TableStore table;
    QCOMPARE(openDetailWindow(nullptr, 0, entry, table), 0);
    QCOMPARE(openDetailWindow(nullptr, 14, entry, table), 0);
    // Closing the window by other means commits like OK.
    FrmRem w(entry, table);
    w.prepare(Dispensation);
    w.TxtRqEp[0]->setText("3e degré");
    w.show();
    w.close();
    QCOMPARE(entry.groups[16], QString("3e degré"));
}

QTEST_MAIN(TestDetailWindow)
#include "test_detail_window.moc"
