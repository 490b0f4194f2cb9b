#include "app/daterules.h"
#include "app/fieldedit.h"
#include "app/form1.h"
#include "app/twips.h"
#include "pagedump.h"
#include "testutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace testutil;

namespace {
QString husband(int i) { return QStringLiteral("HUSBAND%1").arg(i, 2, 10, QChar(u'0')); }
// Delete as X11 delivers it: with the character 127 (offscreen keys carry none).
void x11Delete(QWidget *w) { QTest::sendKeyEvent(QTest::Click, w, Qt::Key_Delete, QString(QChar(127)), Qt::NoModifier); }
QString numberedRecord(int i)
{
    return recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Date", QStringLiteral("01/05/%1").arg(1800 + i)}, {"Nom EPX", husband(i)}, {"Prenom EPX", "Jean"},
                       {"Nom EPSE", QStringLiteral("WIFE%1").arg(i)}, {"Prenom EPSE", "Anne"}});
}
QStringList records(int n)
{
    QStringList r;
    for (int i = 1; i <= n; ++i)
        r << numberedRecord(i);
    return r;
}
struct BeepCounting : Form1 { using Form1::Form1; int beeps = 0; void beep() override { ++beeps; } };
// A window over a table file of invented records, with every message box answered.
struct Harness {
    QTemporaryDir dir;
    TableStore table;
    BeepCounting form{table};
    QString path;
    QStringList messages, questions;
    bool answer = true;
    int managerShown = 0;
    QList<int> details;
    // The answers to a failed save, in turn (then "stay"), and the texts asked.
    QList<savefailure::Choice> choices;
    QStringList failures;
    std::function<void()> beforeAnswer;

    explicit Harness(const QStringList &records, const QStringList &parishes = {"Saint-Martin", "Notre-Dame"})
    {
        table.setAppFolder(dir.path()), QDir(dir.path()).mkdir("tables");
        path = dir.filePath("tables/Test.krv");
        writeBytes(path, fileBytes(QStringList{header("Valbrune", parishes)} + records));
        form.showMessage = [this](const QString &title, const QString &text) { messages << title + u'|' + text; };
        form.askYesNo = [this](const QString &title, const QString &text) { questions << title + u'|' + text; return answer; };
        form.askSaveFailure = [this](const QString &, const QString &text) {
            failures << text;
            if (beforeAnswer)
                beforeAnswer();
            return choices.isEmpty() ? savefailure::Choice::Stay : choices.takeFirst();
        };
        form.rescueFolders = {dir.filePath("docs")};
        form.onDetail = [this](int mode) { details << mode; };
        form.onShowManager = [this] { ++managerShown; };
        form.managerVisible = [] { return false; };
        QVERIFY(form.loadTable(path));
    }
    QString shownHusband() const { return form.Txt[6]->text(); }
    QString shown() const { return form.Txtnb->text(); }
    QString at() const { return shown() + u' ' + shownHusband(); }   // the number box and the husband shown
    QString stored(int line, int field) const { return record::fieldOf(table.line(line), field); }
};
// Every control a line in creation order: name, twips left top width height, hidden, text, alignment, help; then the tab order.
QStringList layoutDump(Form1 &f)
{
    QHash<const QObject *, QString> names{{f.CmbParoisse, "CmbParoisse"}, {f.CmbActe, "CmbActe"},
        {f.ChkDispense, "ChkDispense"}, {f.Txtnb, "Txtnb"}, {f.LblNb, "LblNb"}, {f.Lblnb2, "Lblnb2"},
        {f.Label6, "Label6"}, {f.Label9, "Label9"}, {f.Label10, "Label10"}, {f.Label31, "Label31"},
        {f.CmdCM, "CmdCM"}, {f.CmdTemoin, "CmdTemoin"}, {f.CmdDebut, "CmdDebut"}, {f.CmdPrecedent, "CmdPrecedent"},
        {f.CmdSuivant, "CmdSuivant"}, {f.CmdFin, "CmdFin"}, {f.CmdOuvrir, "CmdOuvrir"}, {f.CmdQuitter, "CmdQuitter"},
        {f.Picture1, "Picture1"}, {f.LblAideSaisie, "LblAideSaisie"}, {f.TxtRech, "TxtRech"},
        {f.CmdRechP, "CmdRechP"}, {f.CmdRechS, "CmdRechS"}};
    auto array = [&](const auto &controls, const char *name) {
        for (std::size_t i = 0; i < controls.size(); ++i)
            names[controls[i]] = QStringLiteral("%1(%2)").arg(name).arg(i);
    };
    array(f.Txt, "Txt"); array(f.Lbl, "Lbl"); array(f.CmdRq, "CmdRq"); array(f.PicBouton, "PicBouton");
    array(f.LnBouton, "LnBouton");
    QStringList out;
    for (QObject *o : f.children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || qobject_cast<QFrame *>(w) == w && names.value(w).startsWith("LnBouton"))
            continue;
        const QRect g = w->property("velderTwips").toRect();   // the designed box, not its rounded pixels
        QString text = w->property("text").toString();
        if (auto *g = qobject_cast<QGroupBox *>(w)) text = g->title();
        if (auto *c = qobject_cast<QComboBox *>(w)) text = c->currentText() + QStringLiteral(" (%1)").arg(c->count());
        QString line = names.value(w, QString::fromLatin1(w->metaObject()->className()));
        // A caption's size follows its font: only where it starts counts.
        line += QStringLiteral(" %1 %2").arg(g.x()).arg(g.y());
        if (g.width() > 0)
            line += QStringLiteral(" %1 %2").arg(g.width()).arg(g.height());
        const QRect px = twips::rect(g.x(), g.y(), g.width(), g.height());
        if (g.width() > 0 ? w->geometry() != px : w->pos() != px.topLeft())
            line += " misplaced";
        if (!w->isVisibleTo(&f)) line += " hidden";
        w->ensurePolished();
        if (const QColor ink = w->palette().color(w->foregroundRole()); ink != Qt::black) line += " ink " + ink.name();
        if (auto *c = qobject_cast<QCheckBox *>(w); c && c->isChecked()) line += " checked";
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->pixmap().isNull()) line += QStringLiteral(" picture %1x%2").arg(l->pixmap().width()).arg(l->pixmap().height());
        if (!text.isEmpty()) line += " \"" + text + u'"';
        if (auto *b = qobject_cast<QGroupBox *>(w)) {   // the caption on the frame's top line, a little in
            QStyleOptionGroupBox o;
            o.initFrom(b), o.text = b->title(), o.subControls = QStyle::SC_GroupBoxLabel;
            line += QStringLiteral(" caption at %1").arg(b->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, b).left());
        }
        if (auto *e = qobject_cast<QLineEdit *>(w))
            line += QString(e->alignment() & Qt::AlignHCenter ? " centred" : e->alignment() & Qt::AlignRight ? " right" : "")
                    + (e->acceptDrops() ? "" : " no drops") + (e->contextMenuPolicy() == Qt::NoContextMenu ? " no menu" : "");
        if (const QString help = w->property("velderHelp").toString(); !help.isEmpty()) line += " help \"" + help + u'"';
        if (!w->toolTip().isEmpty()) line += " tip \"" + w->toolTip() + u'"';
        out << line.replace(QChar(0xA0), u'~');
    }
    QString tab = "tab:";
    QWidget *w = f.Txt[0];
    do {
        if (names.contains(w) && w != f.Txt[1] && (w->focusPolicy() & Qt::TabFocus)) tab += u' ' + names[w];
        w = w->nextInFocusChain();
    } while (w != f.Txt[0]);
    const QFontInfo face(f.font());
    out << tab << QStringLiteral("font %1 %2px (%3)").arg(face.family()).arg(face.pixelSize()).arg(f.font().families().join(", "));
    out.sort();
    return out;
}
} // namespace

class TestEntryWindow : public QObject {
    Q_OBJECT
private slots:
    void layoutOfEveryControl()
    {
        Harness h({fullRecordLine(1), fullRecordLine(2)});
        h.form.CmdPrecedent_Click();
        QVERIFY(pagedump::same(layoutDump(h.form), pagedump::expected("entry_layout.txt")));
        QCOMPARE(QList<int>({twips::px(7), twips::px(8), twips::px(-8)}), QList<int>({0, 1, -1}));   // the nearest pixel
        // Each detail button opens its own mode.
        for (QPushButton *b : h.form.CmdRq)
            QTest::mouseClick(b, Qt::LeftButton);
        QTest::keyClick(h.form.CmdRq[1], Qt::Key_Return);   // Enter presses a focused button
        QCOMPARE(h.details, (QList<int>{11, 1, 4, 9, 2, 3, 10, 1}));
        EntryState before = h.form.readState(), back = before;   // the detail window gives back its four boxes, no other
        back.txt.fill(QStringLiteral("d")), h.form.applyDetail(back);
        for (int i : {16, 17, 28, 29}) before.txt[i] = QStringLiteral("d");
        QVERIFY(h.form.readState().txt == before.txt);
    }
    // Without a table every button is harmless; the window's message boxes: icon, default button, each answer.
    void withoutATableAndMessageBoxes()
    {
        TableStore table;
        Form1 form(table);
        QCOMPARE(form.windowTitle(), QStringLiteral("..."));
        form.CmdSuivant_Click();
        form.CmdFin_Click();
        form.PicBouton_Click(1);
        QTest::keyClick(form.Txtnb, Qt::Key_1), QTest::keyClick(form.TxtRech, Qt::Key_A);
        QVERIFY(form.unload() && form.Txtnb->text().isEmpty() && form.Txt[2]->isHidden());   // a marriage: no reference box
        QString seen;
        auto answer = [&](const QString &press) {   // the box about to open: noted, then answered
            QTimer::singleShot(0, &form, [&seen, press] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                auto name = [box](QAbstractButton *b) {
                    const int k = b ? box->standardButton(b) : -1;
                    return k == QMessageBox::Ok ? "Ok" : k == QMessageBox::Yes ? "Yes" : k == QMessageBox::No ? "No" : b ? b->text() : "-";
                };
                seen = QStringLiteral("%1 %2 %3 [%4]").arg(box->icon()).arg(box->windowTitle(), name(box->defaultButton()), box->text());
                QAbstractButton *answer = nullptr;
                for (QAbstractButton *b : box->buttons())
                    if (name(b) == press) answer = b;
                answer ? answer->click() : (seen += " lacks " + press, box->reject());   // the test goes on, and fails
            });
        };
        answer("Ok");
        form.showMessage("Velder", "a\rb");
        QCOMPARE(seen, QStringLiteral("2 Velder - [a\nb]"));
        for (const QString &press : {"No", "Yes"}) {
            answer(press);
            QCOMPARE(form.askYesNo("Suppression", "c\rd"), press == "Yes");
            QCOMPARE(seen, QStringLiteral("2 Suppression No [c\nd]"));
        }
        const std::pair<const char *, savefailure::Choice> choices[] = {{"Réessayer", savefailure::Choice::Retry},
            {"Copie de secours", savefailure::Choice::Rescue}, {"Annuler", savefailure::Choice::Stay}};
        for (const auto &[press, choice] : choices) {
            answer(QString::fromUtf8(press));
            QCOMPARE(form.askSaveFailure("Velder", "e"), choice);
            QCOMPARE(seen, QStringLiteral("3 Velder Réessayer [e]"));
        }
    }
    // Loading and moving (the caption and the previous record: see the typical walk); records that are no records.
    void loadingAndIncompatibleRecords()
    {
        Harness h({numberedRecord(1), QStringLiteral("broken\tline"), numberedRecord(3)});
        // The size is fixed; a move puts the focus on the act type, a typed number leaves it where it was.
        h.form.setMinimumSize(0, 0);   // as under a window manager that ignores the fixed size
        h.form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        h.form.move(10, 10), h.form.resize(300, 200);
        QCOMPARE(h.form.size(), QSize(twips::px(11880), twips::px(8190)));
        const auto centred = [&] {   // above the taskbar
            const QRect screen = h.form.screen()->geometry(), outer = h.form.frameGeometry();
            return outer.topLeft() == screen.topLeft() + QPoint((screen.width() - outer.width()) / 2, (screen.height() - 28 - outer.height()) / 2);
        };
        QVERIFY(centred());
        QApplication::setActiveWindow(&h.form);
        h.form.Txt[7]->setFocus(), h.form.CmdDebut_Click();
        QCOMPARE(QApplication::focusWidget(), h.form.CmbActe);
        h.form.Txtnb->setFocus(), h.form.Txtnb->selectAll();
        QTest::keyClick(h.form.Txtnb, Qt::Key_3);
        QVERIFY(QApplication::focusWidget() == h.form.Txtnb && h.form.Txtnb->cursorPosition() == 1);
        // A file that is no table is refused; the table loaded stays.
        const QString bad = h.dir.filePath("Bad.krv");
        writeBytes(bad, QByteArray("no header fields here\r\n"));
        QVERIFY(!h.form.loadTable(bad));
        QCOMPARE(h.messages, QStringList{"Incompatibilité du fichier|Le fichier que vous avez ouvert n'est pas compatible"});
        QVERIFY(h.table.tablePath() == h.path && h.table.recordCount() == 3);
        // A record line that cannot be shown: the record left is stored and saved, and the manager comes back.
        h.form.CmdDebut_Click(), h.form.Txt[7]->setText(QStringLiteral("Corentin"));
        h.form.CmdSuivant_Click();
        QVERIFY(h.messages.size() == 2 && !h.form.isVisible() && h.managerShown == 1);
        QVERIFY(readBytes(h.path).contains("Corentin") && readBytes(h.path).contains("broken\tline\r\n"));
        QVERIFY(h.form.unload() && !readBytes(h.table.backupPath()).contains("Corentin"));   // not saved again on leaving
        // Deleting record 1 brings such a line up as record 1: the same message and way out.
        Harness first({numberedRecord(1), QStringLiteral("broken\tline"), numberedRecord(3)});
        first.form.CmdDebut_Click(), first.form.PicBouton_Click(1);
        QVERIFY(first.messages == h.messages.mid(1) && !first.form.isVisible() && first.managerShown == 1);
        // So does deleting on the spare slot when the last record has become such a line: saved, without what was typed.
        first.form.CmdFin_Click(), first.table.setLine(2, "last\tline"), first.form.Txt[6]->setText("NEUF"), first.form.PicBouton_Click(1);
        QVERIFY(first.messages.size() == 2 && first.managerShown == 2 && readBytes(first.path) == fileBytes({header(), "broken\tline", "last\tline"}));
        // A table whose last record is such a line does not open: opening shows that record beside the new one.
        const QString lastBroken = first.dir.filePath("Fin.krv");
        const QByteArray lfOnly = fileBytes({header(), numberedRecord(1), QStringLiteral("broken\tline")}).replace("\r\n", "\n");
        writeBytes(lastBroken, lfOnly);
        QVERIFY(!first.form.loadTable(lastBroken) && first.managerShown == 3 && readBytes(lastBroken) == lfOnly);   // nothing typed: not saved
        h.form.move(10, 10), h.form.show();   // shown again: centred again
        QVERIFY(centred());
    }
    // Every field shown and stored back unchanged; a Republican month, even of three letters, widens its box.
    void everyFieldRoundTripsThroughTheWindow()
    {
        // A line feed inside the notes (a file edited elsewhere) stays inside them.
        const QString full = fullRecordLine(4) + QStringLiteral("\tsecond part\nof the notes");
        const QString republican = recordLine({{"Nom EPX", "A"}, {"Date", "15/Bru/04"}});
        Harness h({republican, full, fullRecordLine(5)});
        auto date = [&] {   // month width, year left and width, the second "/" left
            return QList<int>{h.form.Txt[4]->width(), h.form.Txt[5]->x(), h.form.Txt[5]->width(), h.form.Label10->x()};
        };
        h.form.CmdDebut_Click();
        QCOMPARE(date(), (QList<int>{twips::px(470), twips::px(5540), twips::px(300), twips::px(5435)}));
        h.form.CmdSuivant_Click();
        QCOMPARE(date(), (QList<int>{twips::px(300), twips::px(5370), twips::px(470), twips::px(5265)}));
        QCOMPARE(h.form.Txt[30]->text(), QStringLiteral("v4é161\tsecond part\nof the notes"));
        h.form.CmdSuivant_Click();
        QVERIFY(h.form.unload());
        QCOMPARE(readBytes(h.path), fileBytes({header(), QString(republican).replace("/Bru/", "/.Bru/"), full, fullRecordLine(5)}));
    }
    void typedRecordNumbersAndPageKeys()
    {
        Harness h(records(20));
        QLineEdit *nb = h.form.Txtnb;
        auto typed = [&](const char *keys) { nb->selectAll(), QTest::keyClicks(nb, keys); return h.at(); };
        nb->setFocus(), nb->clear();
        QTest::keyClick(nb, Qt::Key_1);   // the previous record's panel stays as it was
        QVERIFY(h.shownHusband() == husband(1) && h.form.Lbl[0]->text() == "01/05/1820");
        QTest::keyClick(nb, Qt::Key_2);
        QCOMPARE(h.shownHusband(), husband(12));
        QTest::keyClicks(nb, "9a ");   // 129: no such record; a letter or a blank goes nowhere
        QCOMPARE(h.at(), "12 " + husband(12));
        // Backspace drops the last digit whatever is selected.
        nb->setSelection(0, 1), QTest::keyClick(nb, Qt::Key_Backspace);
        QCOMPARE(h.shownHusband(), husband(1));
        // 21 is the spare slot: not reachable by typing; 0 neither.
        QCOMPARE(typed("21"), "2 " + husband(2));
        QCOMPARE(typed("0"), "2 " + husband(2));
        QGuiApplication::clipboard()->setText("5"), QTest::keyClick(nb, Qt::Key_V, Qt::ControlModifier);
        QInputMethodEvent composed; composed.setCommitString("5"), QApplication::sendEvent(nb, &composed);
        QCOMPARE(h.at(), "2 " + husband(2));   // nothing pasted, nothing composed
        // Delete edits the box like any other and goes to the record it then names.
        typed("17"), nb->setCursorPosition(0);
        QTest::keyClick(nb, Qt::Key_Delete);   // as offscreen sends it, without the character 127
        QCOMPARE(h.at() + u'@' + QString::number(nb->cursorPosition()), "7 " + husband(7) + "@0");
        nb->setCursorPosition(1);
        x11Delete(nb);                      // nothing after the caret
        QCOMPARE(h.shown(), QStringLiteral("7"));
        nb->setCursorPosition(0);
        QTest::keyClick(nb, Qt::Key_1);   // typed before a digit: the caret follows the key
        QVERIFY(h.at() == "17 " + husband(17) && nb->cursorPosition() == 1);
        typed("2");
        // An emptied number box still stores the record shown.
        h.form.Txt[7]->setText(QStringLiteral("Yves"));
        h.form.TxtRech->setText(QStringLiteral("ZZ")), h.answer = false;   // nothing found, nothing deleted: the box names the record shown again
        for (QWidget *button : std::initializer_list<QWidget *>{h.form.CmdRechS, h.form.CmdRechP, h.form.PicBouton[1]}) {
            nb->selectAll(), QTest::keyClick(nb, Qt::Key_Delete), QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(h.shown(), QStringLiteral("2"));
        }
        QApplication::setActiveWindow(&h.form);
        nb->setFocus(), QTest::keyClick(nb, Qt::Key_Backspace);
        h.form.Txt[7]->setFocus();   // leaving it emptied names the record shown again
        QCOMPARE(nb->text(), QStringLiteral("2"));
        h.form.CmdSuivant_Click();
        QCOMPARE(h.stored(2, 8), QStringLiteral("Yves"));
        QCOMPARE(h.shownHusband(), husband(3));
        // Page Up and Page Down from every kind of control.
        h.form.CmdDebut_Click(), h.form.Txt[7]->setText(QStringLiteral("Pierre"));
        QTest::keyClick(h.form.Txt[7], Qt::Key_PageUp);
        QVERIFY(h.shown() == "1" && h.stored(1, 8) == "Pierre");
        QTest::keyClick(h.form.CmbActe, Qt::Key_PageDown);
        QCOMPARE(h.form.CmbActe->currentText(), QStringLiteral("Mariage"));   // the list does not scroll
        QTest::keyClick(h.form.CmbParoisse, Qt::Key_PageDown);
        QTest::keyClick(h.form.ChkDispense, Qt::Key_PageDown);
        QTest::keyClick(h.form.CmdRq[2], Qt::Key_PageDown), QTest::keyClick(h.form.CmdDebut, Qt::Key_PageDown);   // not a key of the move buttons
        QString walk;   // from every text box the user reaches, down then up
        for (QLineEdit *box : h.form.Txt)
            if (box != h.form.Txt[1]) QTest::keyClick(box, walk.size() % 2 ? Qt::Key_PageUp : Qt::Key_PageDown), walk += h.shown();
        QCOMPARE(h.shown() + walk, QStringLiteral("5") + QString("65").repeated(15));
        // The spare slot: a surname typed there is appended by Page Down.
        h.form.CmdFin_Click(), h.form.Txt[18]->setText(QStringLiteral("NOUVELLE"));
        QTest::keyClick(h.form.TxtRech, Qt::Key_PageDown);
        QCOMPARE(QStringList({QString::number(h.table.recordCount()), h.shown(), h.form.LblNb->text()}),
                 QStringList({"21", "22", "22"}));
    }
    void deletingRecords()
    {
        Harness h(records(10));
        h.form.Store(transfer::Typed, 5), QTest::mouseClick(h.form.PicBouton[1], Qt::LeftButton);
        const QString nb9(9, record::Nbsp);
        QCOMPARE(h.questions, QStringList{QStringLiteral("Suppression d'un enregistrement|"
                                                         "Etes vous sûr de vouloir supprimer l'enregistrement du mariage de:\r\r")
                                          + nb9 + husband(5) + record::Nbsp + "Jean\r\r" + nb9 + "et\r\r" + nb9
                                          + "WIFE5" + record::Nbsp + "Anne"});
        QCOMPARE(h.table.recordCount(), 9);
        QCOMPARE(h.at() + u' ' + h.form.LblNb->text(), "4 " + husband(4) + " 10");
        QCOMPARE(h.stored(5, 7), husband(6));
        // The first record: the former record 2 is shown, and storing it leaves the next one alone.
        h.form.CmdDebut_Click(), h.form.PicBouton_Click(1);
        QCOMPARE(h.shownHusband(), husband(2));
        h.form.CmdSuivant_Click();
        QVERIFY(h.stored(1, 7) == husband(2) && h.stored(2, 7) == husband(3));
        // On the spare slot the new record is dropped, nothing stored is removed; declining removes nothing.
        h.form.CmdFin_Click(), h.form.Txt[6]->setText(QStringLiteral("NEUF"));
        h.form.PicBouton_Click(1);
        QVERIFY(h.at() == "8 " + husband(10) && h.table.recordCount() == 8);
        h.answer = false;
        h.form.CmdDebut_Click(), h.form.PicBouton_Click(1);
        QCOMPARE(h.table.recordCount(), 8);
        // The last record, then the only one.
        Harness one(records(2));
        one.form.Store(transfer::Typed, 2), one.form.PicBouton_Click(1);
        QCOMPARE(one.shownHusband(), husband(1));
        one.form.PicBouton_Click(1);
        QVERIFY(one.at() == "1 " && one.table.recordCount() == 0);
    }
    void saveFailures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QList<int>>("choices");  // Retry 0, Rescue 1, Stay 2
        QTest::addColumn<bool>("left");           // the window was left
        QTest::addColumn<QString>("written");     // where the records are: "table", "docs", "home", ""
        for (const QStringList &c : testutil::caseRows("save_failures.txt")) {
            QList<int> choices;
            for (const QString &n : c[2].split(u',', Qt::SkipEmptyParts))
                choices << n.toInt();
            QTest::newRow(qPrintable(c[0])) << c[1] << choices << (c[3] == u"yes") << c[4];
        }
    }
    void saveFailures()
    {
        QFETCH(QString, fault); QFETCH(QList<int>, choices); QFETCH(bool, left); QFETCH(QString, written);
        Harness h(records(2));
        for (int c : choices)
            h.choices << savefailure::Choice(c);
        const QString folder = QFileInfo(h.path).absolutePath();
        if (fault == "backup")
            QVERIFY(QDir(h.dir.path()).mkdir("Temp2.tmp"));
        else
            QVERIFY(QDir(folder).removeRecursively() && writeBytes(folder, "not a folder"));
        if (fault.contains("docs")) {
            QVERIFY(writeBytes(h.dir.filePath("plain"), "a file"));
            h.form.rescueFolders = {h.dir.filePath("plain/docs")};
            if (!fault.contains("nodocs"))
                h.form.rescueFolders << h.dir.filePath("home");
        }
        if (fault.contains("mended"))
            h.beforeAnswer = [&] { QFile::remove(folder), QDir().mkpath(folder); };
        bool unloaded = false;
        h.form.onUnloaded = [&] { unloaded = true; };
        h.form.Txt[6]->setText(QStringLiteral("GARDÉ"));
        QTest::mouseClick(fault.contains("ouvrir") ? h.form.CmdOuvrir : h.form.CmdQuitter, Qt::LeftButton);
        QCOMPARE(std::pair(!h.form.isVisible(), unloaded || h.managerShown == 1), std::pair(left, left));
        QCOMPARE(h.table.recordCount(), 3);   // what was typed is in the store
        const QByteArray after = fileBytes({header(), numberedRecord(1), numberedRecord(2),
            recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Nom EPX", QStringLiteral("GARDÉ")}})});
        QStringList rescued, said;   // said: what the user must have been told
        for (const QString &where : {"docs", "home"})
            for (const QString &name : QDir(h.dir.filePath(where)).entryList(QDir::Files))
                rescued << where + u'/' + name;
        QCOMPARE(rescued.size(), written == "docs" || written == "home" ? 1 : 0);
        if (fault == "backup") {
            said << QStringLiteral("Velder|La table a été enregistrée, mais sa copie de sauvegarde « %1 » n'a pas pu être "
                                   "faite (c'est un dossier).").arg(QDir::toNativeSeparators(h.dir.filePath("Temp2.tmp")));
            QVERIFY(h.failures.isEmpty() && !QFileInfo(h.dir.filePath("Temp2.tmp")).isFile());
        } else {
            // The question names the file and the system's reason.
            QCOMPARE(h.failures.size(), choices.size());
            const QString asked = h.failures.value(0);
            QVERIFY2(asked.startsWith(QStringLiteral("La table n'a pas pu être enregistrée dans le fichier\n")
                                      + QDir::toNativeSeparators(h.path) + QStringLiteral("\n\nCause : ") + qt_error_string(ENOTDIR) + "\n")
                         && !asked.contains(QStringLiteral("raison inconnue")), qPrintable(asked));
        }
        if (written == "table")
            QCOMPARE(readBytes(h.path), after);
        if (!rescued.isEmpty()) {
            // The rescue copy holds exactly what the table would, and the user is told where.
            QVERIFY2(QRegularExpression(written + QStringLiteral("/Test secours \\d{4}-\\d\\d-\\d\\d \\d\\dh\\d\\dm\\d\\ds\\.krv"))
                         .match(rescued.value(0)).hasMatch(), qPrintable(rescued.value(0)));
            const QString copy = h.dir.filePath(rescued.value(0));
            QCOMPARE(readBytes(copy), after);
            said << QStringLiteral("Velder|La table n'a pas été modifiée. Tous ses enregistrements ont été copiés dans le "
                                   "fichier de secours\n") + QDir::toNativeSeparators(copy);
        }
        if (fault.contains("nodocs"))
            said << QStringLiteral("Velder|La copie de secours n'a pas pu être enregistrée non plus (le dossier « %1 » ne "
                                   "peut pas être créé). Libérez de la place ou vérifiez les droits des dossiers, puis "
                                   "réessayez.").arg(QDir::toNativeSeparators(h.dir.filePath("plain/docs")));
        QCOMPARE(h.messages, said);
        if (!left) {
            QVERIFY(!h.form.close());   // staying: the close box is refused too, and asks again
            QCOMPARE(h.failures.size(), choices.size() + 1);
            h.form.hide();
        }
        if (fault == "backup")   // shown again after "Quitter", the window stores and saves again on closing
            QVERIFY((h.form.show(), h.form.Txt[6]->setText(QStringLiteral("ENCORE")), h.form.close()) && h.stored(3, 7) == "ENCORE");
    }
    void rescueCopies()
    {
        QTemporaryDir dir;
        TableStore t;
        t.setContent({header(), numberedRecord(1)}, dir.filePath("tables/Kerlaz.krv"));
        const QDateTime when(QDate(2026, 3, 9), QTime(14, 5, 9));
        // Never over an earlier copy, even of the same second.
        const QString first = savefailure::writeRescueCopy(t, {dir.filePath("docs")}, when).path;
        const QString second = savefailure::writeRescueCopy(t, {dir.filePath("docs")}, when).path;
        QCOMPARE(first, QDir::toNativeSeparators(dir.filePath("docs/Kerlaz secours 2026-03-09 14h05m09s.krv")));
        QCOMPARE(second, QDir::toNativeSeparators(dir.filePath("docs/Kerlaz secours 2026-03-09 14h05m09s (2).krv")));
        QCOMPARE(readBytes(second), fileBytes({header(), numberedRecord(1)}));
        QCOMPARE(savefailure::rescueFileName(QString(), when), "Table secours 2026-03-09 14h05m09s.krv");   // a table never named
        // The documents folder first (here the temporary one), each folder once; a reason the system does not give is said so.
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()), writeBytes(dir.filePath("user-dirs.dirs"), "XDG_DOCUMENTS_DIR=" + QDir::tempPath().toUtf8());
        QCOMPARE(savefailure::defaultFolders(), QStringList({QDir::tempPath(), QDir::homePath()}));
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(savefailure::systemReason(QStringLiteral("Unknown error")) + savefailure::systemReason({}), "raison inconnueraison inconnue");
        QCOMPARE(savefailure::writeRescueCopy(t, {}, when).reason, QStringLiteral("aucun dossier où l'écrire"));
        // The problems found at opening (none for a table, made or not yet); "plain" is a regular file.
        QVERIFY(writeBytes(dir.filePath("plain"), "a file") && writeBytes(dir.filePath("Test.krv"), fileBytes({header()})) && QDir(dir.path()).mkdir("folder.krv"));
        for (const auto &[table, problem] : {std::pair{"Test.krv", ""}, {"Neuve.krv", ""},
                 {"plain/Test.krv", "« %1/plain » n'est pas un dossier"}, {"missing/Test.krv", "le dossier « %1/missing » n'existe pas"},
                 {"folder.krv", "« %1/folder.krv » est un dossier"}})
            QCOMPARE(savefailure::writeProblem(dir.filePath(table)),
                     *problem ? QString::fromUtf8(problem).arg(QDir::toNativeSeparators(dir.path())) : QString());
    }

#ifdef Q_OS_LINUX
    void unwritableTableWarnsAtOpening()
    {
        // Read through /proc/self/fd, the table lies in a folder where even root makes no file.
        Harness h(records(1));
        QFile open(h.path);
        QVERIFY(open.open(QIODevice::ReadOnly));
        const QString path = QStringLiteral("/proc/self/fd/%1").arg(open.handle());
        QVERIFY(h.form.loadTable(path));
        const QString said = h.messages.join(u'#');   // one message, naming the system's reason
        QVERIFY2(said.startsWith(QStringLiteral("Velder|La table %1 ne peut pas être enregistrée à sa place (le dossier "
                                                "n'accepte pas de nouveau fichier : ").arg(path)) && !said.contains(u'#')
                 && said.endsWith(") : vos modifications devront être enregistrées ailleurs, dans une copie de secours."),
                 qPrintable(said));
        h.form.hide();
    }
#endif

    // A scratch copy every two minutes, not while the manager is shown; the toolbar's frame, help and buttons.
    void scratchSaveAndToolbar()
    {
        Harness h(records(1));
        const QString scratch = h.dir.filePath("Temp.tmp");
        const QTime start = QTime::currentTime();
        h.form.Timer1_Timer(start.addSecs(60));
        bool manager = true;
        h.form.managerVisible = [&] { return manager; };
        h.form.Timer1_Timer(start.addSecs(180));
        QVERIFY(!QFile::exists(scratch));
        manager = false;
        h.form.Timer1_Timer(start.addSecs(181));
        QVERIFY(QFile::exists(scratch) && !h.form.Picture1->isVisible());
        auto moveOver = [](QWidget *w, QPointF at, Qt::MouseButtons buttons = Qt::NoButton) {
            QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(w, &move);
        };
        QApplication::sendEvent(h.form.CmdCM, std::make_unique<QEvent>(QEvent::Enter).get());   // the mouse on the CM button
        QCOMPARE(h.form.LblAideSaisie->text(), QStringLiteral("Détails sur le Contrat de Mariage"));
        moveOver(h.form.PicBouton[2], QPointF(5, 5));
        QCOMPARE(h.form.LblAideSaisie->text(), QStringLiteral("Imprimer l'enregistrement actif"));
        // The button's frame (1155, 7415, 360 x 360 twips), top, left, bottom, right: light above and left, dark below; pressed, swapped.
        auto frame = [&] {
            QString out;
            for (QFrame *l : h.form.LnBouton) {
                const QRect g = l->property("velderTwips").toRect();
                out += QStringLiteral("%1 %2 %3 %4 %5 %6; ").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                           .arg(l->isVisible() && l->geometry() == twips::rect(g.x(), g.y(), g.width(), g.height()))
                           .arg(h.form.grab(l->geometry()).toImage().pixelColor(0, 0).name());   // as drawn
            }
            return out;
        };
        const QString light = h.form.palette().color(QPalette::Base).name(), dark = "#ababab";
        QCOMPARE(frame(), QStringLiteral("1140 7400 390 15 1 %1; 1140 7400 15 390 1 %1; 1140 7785 390 15 1 %2; "
                                         "1525 7400 15 400 1 %2; ").arg(light, dark));
        QTest::mousePress(h.form.PicBouton[2], Qt::LeftButton, {}, QPoint(5, 5));
        const QString pressed = frame();
        moveOver(h.form.PicBouton[2], QPointF(5, 5), Qt::LeftButton);
        QCOMPARE(frame(), QStringLiteral("1140 7400 390 15 1 %2; 1140 7400 15 390 1 %2; 1140 7785 390 15 1 %1; "
                                         "1525 7400 15 400 1 %1; ").arg(light, dark));
        QCOMPARE(pressed, frame());
        QEvent leave(QEvent::Leave);   // the mouse off a button: the frame goes
        moveOver(h.form.PicBouton[0], QPointF(5, 5));
        QVERIFY(frame() != pressed);   // the frame follows the mouse to the first button
        QApplication::sendEvent(h.form.PicBouton[0], &leave);
        QVERIFY(!h.form.LnBouton[0]->isVisible());
        moveOver(h.form.PicBouton[2], QPointF(5, 5));
        // Over the bare window or a frame's background: the frame goes and the default help comes back.
        moveOver(&h.form, QPointF(twips::px(5000), twips::px(7900) - 8));
        QVERIFY(!h.form.LnBouton[0]->isVisible() && h.form.LblAideSaisie->text() == Form1::DefaultHelp);
        moveOver(h.form.PicBouton[2], QPointF(5, 5)), moveOver(h.form.findChild<QGroupBox *>(), QPointF(4, 60));
        QVERIFY(!h.form.LnBouton[0]->isVisible() && h.form.LblAideSaisie->text() == Form1::DefaultHelp);
        // The print button calls its hook; the properties and about buttons open the detail window.
        int printed = 0;
        h.form.onPrintCard = [&] { ++printed; };
        for (int b : {2, 0, 3})
            QTest::mouseClick(h.form.PicBouton[b], Qt::LeftButton), QTest::mouseClick(h.form.PicBouton[b], Qt::RightButton);   // the right button is no click
        QVERIFY(printed == 1 && h.details == (QList<int>{12, 13}));
    }
    // The parish completes from the list; the act type shows or hides its "Cote"; each opens its details.
    void parishActTypeAndDispensation()
    {
        Harness h(records(2), {"Saint-Martin", "Sainte-Anne", "Serres"});
        h.form.CmbParoisse->setEditText(QString()), QTest::keyClick(h.form.CmbParoisse, Qt::Key_S);
        QCOMPARE(h.form.CmbParoisse->currentText() + u'|' + h.form.CmbParoisse->lineEdit()->selectedText(), "Saint-Martin|aint-Martin");
        QInputMethodEvent composed; composed.setCommitString("e"), QApplication::sendEvent(h.form.CmbParoisse, &composed);   // as an input method commits
        QCOMPARE(h.form.CmbParoisse->currentText(), QStringLiteral("Serres"));
        QTest::keyClicks(h.form.CmbParoisse, "x ");
        QCOMPARE(h.form.CmbParoisse->currentText() + u'|' + h.form.CmbParoisse->lineEdit()->selectedText(), "Serres|rres");   // left as it was
        x11Delete(h.form.CmbParoisse);   // Delete takes the proposed end away, no refusal; nothing is pasted; Backspace as in any box
        QGuiApplication::clipboard()->setText("rres"), QTest::keyClick(h.form.CmbParoisse, Qt::Key_V, Qt::ControlModifier), QTest::keyClick(h.form.CmbParoisse, Qt::Key_Backspace);
        const QString shortened = h.form.CmbParoisse->currentText();
        h.form.CmbParoisse->setEditText("DX"), h.form.CmbParoisse->lineEdit()->setCursorPosition(1), QTest::keyClicks(h.form.CmbParoisse, "'");
        QVERIFY(shortened == "S" && h.form.CmbParoisse->currentText() == "dX" && h.form.CmbParoisse->lineEdit()->cursorPosition() == 1);   // refused, yet "de" lowered
        QCOMPARE(h.messages, QStringList(3, "Velder|La paroisse que vous tentez de saisir n'existe pas dans la liste des paroisses"));
        // The "Cote" box and its caption shown, the caption of the button opening the act's details.
        auto act = [&] {
            return QStringLiteral("%1 %2 %3").arg(h.form.Txt[2]->isVisibleTo(&h.form)).arg(h.form.Label6->isVisibleTo(&h.form))
                .arg(h.form.CmdCM->text());
        };
        h.form.Txt[2]->setText(QStringLiteral("3E 12"));
        h.form.CmbActe->setCurrentText(QStringLiteral("Contrat de Mariage"));
        QCOMPARE(act(), QStringLiteral("1 1 M"));
        h.form.CmbActe->setCurrentText(QStringLiteral("Mariage"));
        QCOMPARE(act(), QStringLiteral("0 0 CM"));
        QCOMPARE(h.form.Txt[2]->text(), QStringLiteral("3E 12"));   // hidden, not emptied
        QApplication::setActiveWindow(&h.form);
        QTest::mouseClick(h.form.CmdCM, Qt::LeftButton);   // focused, it names what it opens
        QCOMPARE(h.form.LblAideSaisie->text(), QStringLiteral("Détails sur le Contrat de Mariage"));
        h.form.CmbActe->setCurrentText(QStringLiteral("Divorce"));
        QTest::mouseClick(h.form.CmdCM, Qt::LeftButton);
        // Each letter, however quickly repeated, steps to the next label beginning with it.
        h.form.CmbActe->setCurrentText(QStringLiteral("Réhabilitation"));
        QTest::keyClicks(h.form.CmbActe, "cc");   // "Certificat" just below, then on round
        QCOMPARE(h.form.CmbActe->currentText() + u' ' + act(), QStringLiteral("Contrat de Mariage 1 1 M"));
        // The dispensation box flips on a press and opens the kinship degree, on Enter or a letter too; Delete is no key of it.
        QTest::mouseClick(h.form.ChkDispense, Qt::LeftButton);   // a double click (press, release, double click, release) is one press
        QTest::mouseDClick(h.form.ChkDispense, Qt::LeftButton), QTest::mouseRelease(h.form.ChkDispense, Qt::LeftButton);
        QTest::keyClick(h.form.ChkDispense, Qt::Key_Return);
        QTest::keyClick(h.form.ChkDispense, Qt::Key_A), x11Delete(h.form.ChkDispense);
        QTest::keyClick(h.form.ChkDispense, Qt::Key_Space);   // the space bar flips it back, and opens it too
        QVERIFY(!h.form.ChkDispense->isChecked() && h.details == (QList<int>{5, 7, 6, 6, 6, 6}) && h.form.ChkDispense->hasFocus());
    }
    // Pastes, the context menu and drops keep the record line whole; a focused date box is right-aligned, centred again on leaving.
    void boxesTakeOnlyWhatATableHolds()
    {
        Harness h(records(1));
        QApplication::setActiveWindow(&h.form);
        auto *notes = static_cast<FieldEdit *>(h.form.Txt[30]);
        notes->setFocus();
        auto paste = [&](const QString &text) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(notes, Qt::Key_V, Qt::ControlModifier);
            return notes->text();
        };
        QCOMPARE(paste(QStringLiteral("A\tB\r\nC")), QStringLiteral("ABC"));
        QCOMPARE(paste(QStringLiteral("Z") + QChar(0x0101)), QStringLiteral("ABC"));   // refused whole
        QGuiApplication::clipboard()->setText(QStringLiteral("N\tO")), notes->selectAll();
        QVERIFY(testutil::pasteByMenu(notes));
        QCOMPARE(notes->text(), QStringLiteral("NO"));
        notes->clear();
        auto drop = [](QWidget *box, const QString &dropped) {
            QMimeData data;
            data.setText(dropped);
            const QPoint at = box->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            return QApplication::sendEvent(box, &drop), drop.isAccepted();   // starts ignored, as a real drop: accepted only if taken
        };
        QVERIFY(drop(notes, QStringLiteral("X\nY")) && !drop(notes, QStringLiteral("Z") + QChar(0x0101)) && h.form.beeps == 2);   // refused whole
        QInputMethodEvent im(QStringLiteral("x"), {}); im.setCommitString(QStringLiteral("a\t") + QChar(0x0101)), h.form.Txt[6]->clear(), QApplication::sendEvent(h.form.Txt[6], &im);
        QCOMPARE(notes->text() + h.form.Txt[6]->text(), QStringLiteral("XYa"));   // committed with a preedit: cleaned, not shaped
        notes->setText(QStringLiteral("vu le registre")), QTest::keyClick(notes, Qt::Key_Backspace, Qt::ControlModifier);   // the word before the caret goes
        const QString once = notes->text();
        QTest::keyClick(notes, Qt::Key_Backspace, Qt::ControlModifier);   // and with the next one, the blanks before it too
        QCOMPARE(once + u'|' + notes->text(), QStringLiteral("vu le |vu "));
        QTest::keyClick(notes, Qt::Key_A, Qt::MetaModifier), QTest::keyClick(notes, Qt::Key_Home);   // a key that types nothing does what it does in any box
        x11Delete(notes);
        QCOMPARE(notes->text() + QString::number(notes->cursorPosition()), "u 0");
        // The short boxes take no more than their length; a surname paste is followed by the father's.
        drop(h.form.Txt[12], QStringLiteral("++"));
        static_cast<FieldEdit *>(h.form.Txt[12])->pasteText(QStringLiteral("5"));   // full: nothing more
        QVERIFY(!drop(h.form.Txt[12], QStringLiteral("5")));
        QTest::keyClick(h.form.Txt[12], Qt::Key_A);   // no marker: a beep
        QCOMPARE(h.form.Txt[12]->text() + QString::number(h.form.beeps), QStringLiteral("+3"));
        h.form.Txt[18]->setFocus();
        static_cast<FieldEdit *>(h.form.Txt[18])->pasteText(QStringLiteral("KER\tBRAS"));
        QCOMPARE(h.form.Txt[18]->text() + h.form.Txt[22]->text(), QStringLiteral("KERBRASKERBRAS"));
        QVERIFY(drop(h.form.Txt[18], QStringLiteral("S")) && h.form.Txt[22]->text() == h.form.Txt[18]->text());   // a drop too
        h.form.Txt[22]->setText(QStringLiteral("AUTRE")), static_cast<FieldEdit *>(h.form.Txt[18])->pasteText(QStringLiteral("Z"));
        QCOMPARE(h.form.Txt[22]->text(), QStringLiteral("AUTRE"));   // another father's surname is his own
        h.table.setLine(1, recordLine({{"Nom EPX", "A"}, {"Org EPX", "Plouvern"}})), QTest::keyClicks(h.form.Txt[8], "px");
        QCOMPARE(h.form.Txt[8]->text(), QStringLiteral("Px"));   // a key that matches no origin replaces the completion
        h.form.Txt[3]->setFocus();
        QCOMPARE(h.form.LblAideSaisie->text(), daterules::FormatHelp);
        QVERIFY(h.form.Txt[3]->alignment() & Qt::AlignRight);
        QTest::keyClicks(h.form.Txt[3], "a1"), h.form.Txt[4]->setFocus();
        QCOMPARE(h.form.Txt[3]->text(), QStringLiteral("01"));
        QVERIFY(h.form.Txt[3]->alignment() & Qt::AlignHCenter);
        QCOMPARE(h.form.LblAideSaisie->text(), daterules::FormatHelp);
        h.form.Txt[3]->setFocus(), QTest::keyClicks(h.form.Txt[3], "12");   // a full box moves on: day, month, year
        QTest::keyClicks(QApplication::focusWidget(), "06"), QTest::keyClicks(h.form.Txt[5], "18"), QTest::keyClick(h.form.Txt[5], Qt::Key_Backspace);
        QVERIFY(QApplication::focusWidget() == h.form.Txt[5] && h.form.Txt[3]->text() + h.form.Txt[4]->text() + h.form.Txt[5]->text() == "12061");
        h.form.Txt[4]->setFocus(), QTest::keyClicks(h.form.Txt[4], "v");   // a month name: the boxes take the other layout
        QVERIFY(h.form.Txt[4]->text() == "Vend" && h.form.dateBoxes().monthMaxLength == 4);
    }
    void searchMovesTheWindowAndKeepsTheFocus()
    {
        Harness h({recordLine({{"Nom EPX", "MARTIN"}}), recordLine({{"Nom EPX", "DURAND"}}), recordLine({{"Nom EPX", "DUPONT"}})});
        QApplication::setActiveWindow(&h.form), h.form.CmdDebut_Click();
        h.form.Txt[7]->setText(QStringLiteral("Loïc"));
        QLineEdit *rech = h.form.TxtRech;
        auto search = [&] { return rech->text() + u' ' + h.shown(); };
        rech->setFocus(), QTest::keyClicks(rech, "d");
        QCOMPARE(search(), QStringLiteral("D 2"));
        QCOMPARE(h.stored(1, 8), QStringLiteral("Loïc"));   // the record left was stored
        QTest::keyClicks(rech, "u"), QTest::sendKeyEvent(QTest::Click, rech, Qt::Key_unknown, QStringLiteral("中"), {}), QTest::keyClicks(rech, "p");   // no such letter in a table: nowhere
        QCOMPARE(search(), QStringLiteral("DUP 3"));
        QCOMPARE(QApplication::focusWidget(), rech);
        QTest::mouseClick(h.form.CmdRechS, Qt::LeftButton);   // nothing further
        QCOMPARE(h.shown(), QStringLiteral("3"));
        QTest::keyClick(rech, Qt::Key_Backspace);
        QCOMPARE(search(), QStringLiteral("DU 2"));              // searched again from record 1
        // Delete edits the box and searches again: "DU" before the caret, "P" after it.
        QTest::keyClicks(rech, "p");
        rech->setCursorPosition(0), x11Delete(rech);
        QCOMPARE(search(), QStringLiteral("UP 3"));
        rech->setText(QStringLiteral("DUP")), rech->setCursorPosition(2);
        x11Delete(rech);
        QCOMPARE(search(), QStringLiteral("DU 2"));
        QTest::mouseClick(h.form.CmdRechS, Qt::LeftButton);   // the next one
        QCOMPARE(search(), QStringLiteral("DU 3"));
        rech->setSelection(1, 1);
        QTest::keyClicks(rech, "u");                  // the key takes the selection's place
        QCOMPARE(rech->text(), QStringLiteral("DU"));
        const QString typed = (rech->clear(), QTest::keyClicks(rech, "m"), search());
        h.form.Store(transfer::Typed, 3);
        auto back = [&](const char *q) { rech->setText(q), QTest::mouseClick(h.form.CmdRechP, Qt::LeftButton); return h.shown(); };
        QCOMPARE((QStringList{typed, back("DU"), back("M")}), (QStringList{"M 1", "2", "1"}));   // the first record found too
    }
};

QTEST_MAIN(TestEntryWindow)
#include "test_app_entrywindow.moc"
