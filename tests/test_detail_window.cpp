// The detail window: each mode's layout against the hand-written one and the real window placing it so; the window
// driven as a user would; its rules without a window (load, commit, paging, header values, keys, completion, paste).
#include "detail/detaillogic.h"
#include "detail/detailwindow.h"
#include "detail/frmrem.h"
#include "pagedump.h"
#include "testutil.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace detail;

namespace {
const QChar NB = record::Nbsp;
struct Control { QString name; const Item *item; };
QList<Control> controls(const Layout &l)
{
    QList<Control> c{{"Picture1", &l.picture}, {"LblParents0", &l.parents[0]}, {"LblParents1", &l.parents[1]},
                     {"Line1", &l.line},       {"Frame1", &l.frame1},         {"Frame2", &l.frame2},
                     {"LstParoisse", &l.list}, {"CmdPrecedent", &l.prev},     {"CmdSuivant", &l.next},
                     {"CmdOk", &l.ok}};
    for (int i = 0; i < LabelCount; ++i)
        c << Control{QString("LblRem%1").arg(i), &l.lblRem[i]};
    for (int i = 0; i < BoxCount; ++i)
        c << Control{QString("TxtRqEp%1").arg(i), &l.box[i]};
    return c;
}
QString colourName(const QColor &c)
{
    const std::pair<QColor, const char *> names[] = {{QColor(255, 255, 192), "yellow"}, {QColor(192, 192, 255), "blue"},
        {QColor(255, 192, 192), "pink"}, {QColor(192, 255, 192), "green"}, {QColor(0, 0, 255), "link"}, {infoBackColour(), "info"}};
    for (const auto &[colour, name] : names)
        if (c == colour)
            return name;
    return c.name();
}
QString line(int mode, const QString &name, const Item &it)
{
    QStringList f{QString::number(mode), name};
    for (double v : {it.left, it.top, it.width, it.height})
        f << pagedump::number(v);
    const QString style = QString(it.bold ? "b" : "") + (it.italic ? "i" : "") + (it.underline ? "u" : "")
                          + (it.pointSize != 8.25 ? QString::number(it.pointSize) : QString());
    f << (it.maxLength ? QString("max%1").arg(it.maxLength) : "") << (it.back.isValid() ? "on:" + colourName(it.back) : "")
      << (it.fore.isValid() ? "fg:" + colourName(it.fore) : "") << (style.isEmpty() ? "" : "font:" + style)
      << (it.caption.isEmpty() ? "" : '[' + it.caption + ']');
    f.removeAll(QString());
    return f.join(' ');
}
QStringList dump(int mode)
{
    const Layout l = layoutFor(mode);
    QStringList out{QString("%1 window %2 %3 on:%4").arg(mode).arg(l.outerWidth).arg(l.outerHeight).arg(colourName(l.back))};
    for (const Control &c : controls(l))
        if (c.item->visible)
            out << line(mode, c.name, *c.item);
    for (int i = 0; i < 2 && l.frame1.visible; ++i) {
        out << line(mode, QString("Option2_%1").arg(i), Item{true, Option2Places[i].left, 0, Option2Places[i].width,
                                                             l.frame1.height, QString::fromUtf16(Option2Places[i].caption)});
        out << line(mode, QString("Option1_%1").arg(i), Item{true, Option1Places[i].left, 0, Option1Places[i].width,
                                                             l.frame2.height, QString::fromUtf16(Option1Places[i].caption)});
    }
    return out;
}
EntryState newEntry()
{
    EntryState e;
    transfer::showNewRecord(e);
    return e;
}
TableStore tableWith(const QStringList &origins = {}, const QStringList &parishes = {})
{
    QStringList lines{testutil::header("Valbrune", parishes)};
    for (const QString &o : origins)
        lines << testutil::recordLine({{"Org EPX", o}});
    TableStore t;
    t.setContent(lines << QString());
    return t;
}
// Runs the steps once the modal window is up and active; a failed step still closes it.
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
// Types text as key events carrying each character (not only Latin-1); accents come as dead keys compose them, via the input method.
void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QInputMethodEvent composed;
        composed.setCommitString(QString(c));
        QApplication::sendEvent(w, c >= u'À' && c <= u'ÿ' ? static_cast<QEvent *>(&composed) : &press);
    }
}
KeyOutcome press(int mode, int index, const QString &text, int caret, QChar key, const TableStore &table = TableStore())
{
    return keyPress(KeyInput{mode, index, text, caret, key}, table);
}
// Types `keys` one by one at the end of an empty box, as the window would.
QString typeInto(int mode, int index, const QString &keys)
{
    QString text;
    for (QChar k : keys) {
        const KeyOutcome o = press(mode, index, text, int(text.size()), k);
        if (o.kind == KeyOutcome::Insert)
            text += o.key;
    }
    return text;
}
} // namespace

class TestDetailWindow : public QObject {
    Q_OBJECT
    QList<QUrl> mailed;
public slots:   // the desktop's mail program while the tests run
    void mail(const QUrl &url) { mailed << url; }
private slots:
    // The real warning behind the hook, before init() replaces it: its title, text, icon and button.
    void initTestCase()
    {
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen = QString("%1|%2|%3|%4").arg(box->windowTitle(), box->text()).arg(box->icon()).arg(box->standardButtons());
                box->accept();
            }
        });
        hooks().warning(nullptr, "Velder", "La paroisse est déjà présente dans la liste");
        QCOMPARE(seen, QString("Velder|La paroisse est déjà présente dans la liste|%1|%2").arg(QMessageBox::Warning).arg(QMessageBox::Ok));
        QTimer::singleShot(0, [] {   // the real prompt: no TAB let in, nor a character without its byte
            auto *edit = QApplication::activeModalWidget()->findChild<QLineEdit *>();
            edit->selectAll(), edit->insert("18\t01"), edit->insert(QString(QChar(0x4e2d)));
            static_cast<QDialog *>(QApplication::activeModalWidget())->accept();
        });
        QCOMPARE(hooks().prompt(nullptr, "Sources", "?", "1800"), QString("1801"));
        QDesktopServices::setUrlHandler("mailto", this, "mail");   // the real link goes to the desktop's mail program
        hooks().openUrl(QUrl("mailto:a@b.fr"));
        QCOMPARE(mailed, QList<QUrl>{QUrl("mailto:a@b.fr")});
    }
    void init()
    {
        hooks().shown = {};
        hooks().prompt = [](QWidget *, const QString &, const QString &, const QString &) { return QString(); };
        hooks().warning = [](QWidget *, const QString &, const QString &) {};
        hooks().openUrl = [](const QUrl &) {};
        detailMode = 0;
    }
    void everyModeAsWrittenByHand()
    {
        QStringList all;
        for (int mode = 0; mode <= ModeCount; ++mode)
            all << dump(mode);
        all.sort();
        QVERIFY(pagedump::same(all, pagedump::expected("detail_layout.txt")));
        const auto asCreated = [](int mode) { QStringList o = dump(mode); for (QString &s : o) s = s.section(' ', 1); return o; };
        QCOMPARE(asCreated(ModeCount + 1), asCreated(0));   // a mode out of range: the window as created
    }
    void windowPlacesEveryControl()
    {
        for (int mode = 0; mode <= ModeCount; ++mode) {
            const Layout l = layoutFor(mode);
            const auto px = [](double left, double top, double width, double height) {
                return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
            };
            EntryState entry;
            TableStore table;
            FrmRem w(entry, table);
            w.prepare(mode), w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w) && (w.windowFlags() & Qt::FramelessWindowHint) && w.isModal());
            QCOMPARE(w.geometry().size(), px(0, 0, l.outerWidth, l.outerHeight).size());
            QCOMPARE(w.client->geometry(), QRect(1, 1, w.width() - 2, w.height() - 2));   // a one-pixel border
            QCOMPARE(w.client->palette().color(QPalette::Window), l.back);
            for (const Control &c : controls(l)) {
                const Item &it = *c.item;
                auto *wd = w.findChild<QWidget *>(c.name);
                QVERIFY2(wd && wd->isVisible() == it.visible, qPrintable(QString("%1 in mode %2").arg(c.name).arg(mode)));
                QVERIFY(!it.visible || (wd->parentWidget() == w.client && wd->geometry() == px(it.left, it.top, it.width, it.height)
                                        && (!it.back.isValid() || wd->palette().color(QPalette::Window) == it.back)));
                if (auto *b = qobject_cast<QPushButton *>(wd))
                    QCOMPARE(b->text(), it.caption);
                if (auto *box = qobject_cast<DetailBox *>(wd))
                    QCOMPARE(box->limit(), it.maxLength);
                if (auto *lab = qobject_cast<QLabel *>(wd); lab && it.visible && lab != w.Picture1) {
                    const QFont f = lab->font();
                    QVERIFY(it.caption.isEmpty() || lab->text() == it.caption);
                    QCOMPARE(std::tuple(f.bold(), f.italic(), f.underline(), f.pointSizeF()), std::tuple(it.bold, it.italic, it.underline, it.pointSize));
                    QCOMPARE(lab->palette().color(QPalette::Window), it.back);
                    QCOMPARE(lab->palette().color(QPalette::WindowText), it.fore.isValid() ? it.fore : QColor(Qt::black));
                }
            }
            for (int i = 0; i < 2; ++i) {
                QCOMPARE(w.Option2[i]->geometry(), px(Option2Places[i].left, 0, Option2Places[i].width, l.frame1.height));
                QCOMPARE(w.Option1[i]->geometry(), px(Option1Places[i].left, 0, Option1Places[i].width, l.frame2.height));
            }
            QCOMPARE(QFontInfo(w.font()).family() + u' ' + QString::number(w.font().pointSizeF()), "Liberation Sans 8.25");   // for MS Sans Serif
            QVERIFY((w.geometry().center() - w.screen()->availableGeometry().center()).manhattanLength() <= 2);   // centred
        }
        // The keyboard order: the witness's boxes in reading order, then the buttons and the list.
        EntryState entry;
        TableStore table;
        FrmRem w(entry, table);
        QStringList order;
        for (QWidget *c = w.TxtRqEp[0]; order.size() < 24; c = c->nextInFocusChain())
            if (c->focusPolicy() & Qt::TabFocus)
                order << c->objectName();
        QCOMPARE(order.join(u' '), testutil::dataLines("detail_focus_order.txt").join(u' '));
    }
    // Which field each box shows, mode by mode; OK without typing gives every value back.
    void boxesShowTheirFields_data()
    {
        QTest::addColumn<int>("mode"), QTest::addColumn<QString>("fields");
        for (const QStringList &c : testutil::caseRows("detail_fields.txt"))
            QTest::addRow("mode %s", qPrintable(c[0])) << c[0].toInt() << c[1];
    }
    void boxesShowTheirFields()
    {
        QFETCH(int, mode); QFETCH(QString, fields);
        QStringList f, shown, expected;
        for (int n = 1; n <= record::FieldCount; ++n)
            f << QStringLiteral("f%1").arg(n);
        for (const QString &run : fields.split(u' '))
            for (int n = run.section(u'-', 0, 0).toInt(); n <= run.section(u'-', -1).toInt(); ++n)
                expected << f[n - 1];
        f[2] = "MA";
        f[4] = "03/05/1815";
        f[108] = "M";   // the witness's sex and with whom, as the options store them
        f[116] = "1";
        EntryState entry;
        QVERIFY(transfer::showLine(record::joinFields(f), entry));
        const EntryState before = entry;
        TableStore table = tableWith();
        drive([&](FrmRem &w) {
            for (int i = 0; i < expected.size(); ++i)
                shown << w.TxtRqEp[i]->text();
        });
        openDetailWindow(nullptr, mode, entry, table);
        QCOMPARE(shown, expected);
        QVERIFY(entry.groups == before.groups && entry.txt == before.txt);
    }
    // Typing, Enter, options, paging to an empty witness, Escape; box order, code, completion.
    void witnessWalk()
    {
        EntryState entry = newEntry();
        entry.groups[11] = QString();   // witness 2 never typed
        TableStore table = tableWith({"Lannevez", "Parinec"});
        int modeWhileOpen = -1;
        drive([&](FrmRem &w) {
            modeWhileOpen = detailMode;
            QVERIFY(w.Option2[1]->isChecked());
            QTest::keyClicks(w.TxtRqEp[0], "le goff");
            QTest::keyClick(w.TxtRqEp[0], Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), w.TxtRqEp[1]);
            QTest::keyClicks(w.TxtRqEp[1], "jean-marie"), w.Option2[0]->click();
            QVERIFY(!w.Option2[1]->isChecked());   // the pair set from the record is exclusive again
            QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
            QCOMPARE(w.LblRem[0]->text(), QString("Témoin 2"));
            QCOMPARE(w.TxtRqEp[0]->text(), QString("LE GOFF"));   // witness 2 was empty: witness 1's values stay shown
            w.TxtRqEp[9]->setFocus(), typeText(w.TxtRqEp[9], "présent");
            QTest::keyClick(w.TxtRqEp[9], Qt::Key_Escape);
        });
        QCOMPARE(openDetailWindow(nullptr, Witnesses, entry, table), 1);
        QCOMPARE(std::pair(modeWhileOpen, int(detailMode)), std::pair(8, 0));
        QCOMPARE(entry.groups[10], QString("LE GOFF\tJean-Marie\tM\t\t\t\t\t\t\t\t2\t"));
        QCOMPARE(entry.groups[11], QString("LE GOFF\tJean-Marie\tM\t\t\t\t\t\t\t\t2\tprésent"));
        QCOMPARE(entry.groups[12], QString(11, u'\t'));
        entry = newEntry();
        drive([&](FrmRem &w) {
            w.TxtRqEp[7]->setText("Tisserand");
            w.TxtRqEp[2]->setFocus();   // age, origin, its code, residence, its code, profession, kinship, options
            for (int next : {3, 4, 5, 6, 7, 8}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), w.TxtRqEp[next]);
                if (next == 7)   // the whole text is selected on entering a box
                    QCOMPARE(w.TxtRqEp[7]->selectedText(), QString("Tisserand"));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(QApplication::focusWidget() == w.Option1[0] || QApplication::focusWidget() == w.Option1[1]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // Enter on an option does not press OK
            QVERIFY(!w.committed());
            QTest::keyClicks(w.TxtRqEp[4], "a2b-93");   // a code box takes two digits
            QTest::keyClicks(w.TxtRqEp[5], "PAR");      // a place box completes from the table
            QCOMPARE(w.TxtRqEp[5]->selectedText(), QString("inec"));
        });
        openDetailWindow(nullptr, Witnesses, entry, table);
        QCOMPARE(entry.groups[10], QString("\t\tF\t\t\t29\tParinec\t\tTisserand\t\t2\t"));
    }
    // Paging writes the first spouse to the entry window's boxes at once, before OK.
    void previousSpousesWalk()
    {
        for (int mode : {HusbandSpouses, WifeSpouses}) {
            const int first = mode == WifeSpouses ? 8 : 3, surname = mode == WifeSpouses ? 28 : 16;
            const QString who = mode == WifeSpouses ? "Epouse" : "Epoux";
            EntryState entry = newEntry();
            entry.txt[surname] = "RIOU";
            entry.groups[first] = "1799\tKervel\t29\t\t\tMarin\t";
            TableStore table = tableWith();
            QStringList seen;
            drive([&](FrmRem &w) {
                QCOMPARE(w.LblRem[0]->text() + w.TxtRqEp[0]->text() + w.TxtRqEp[7]->text(), "Dernier Conjoint " + who + "RIOUMarin");
                w.setValues(w.values());   // what the window shows reads back whole, its buttons' states too
                QVERIFY(!w.CmdPrecedent->isEnabled() && w.CmdSuivant->isEnabled());
                w.TxtRqEp[0]->selectAll(), typeText(w.TxtRqEp[0], "kerné");
                QTest::keyClicks(w.TxtRqEp[6], "56"), QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
                QCOMPARE(seen, QStringList{"KERNÉ"});
                QCOMPARE(w.LblRem[0]->text(), "Avant-Dernier Conjoint " + who);
                w.setValues(w.values());
                QVERIFY(w.CmdPrecedent->isEnabled() && !w.CmdSuivant->isEnabled());
                QTest::keyClicks(w.TxtRqEp[1], "yves"), QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
                QCOMPARE(w.TxtRqEp[0]->text() + w.TxtRqEp[1]->text(), QString("KERNÉ"));
                QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
                QTest::keyClicks(w.TxtRqEp[0], "morvan"), QTest::keyClick(w.TxtRqEp[0], Qt::Key_Escape);
            });
            openDetailWindow(nullptr, mode, entry, table, [&] { seen << entry.txt[surname]; });
            QCOMPARE(seen, QStringList(2, "KERNÉ"));   // each time the first page is left
            QCOMPARE(entry.groups[first + 1], QString("MORVAN\tYves\t\t\t\t\t\t\t"));
            QCOMPARE(entry.groups[first], QString("1799\tKervel\t29\t\t56\tMarin\t"));
        }
    }
    // What may not enter a box, typed or pasted; closing by Escape or otherwise commits.
    void pasteAndClosing()
    {
        EntryState entry = newEntry();
        TableStore table = tableWith();
        FrmRem w(entry, table);
        w.prepare(HusbandDetails), w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const std::pair<int, const char *> pastes[] = {{5, "Saint\tMartin\r\n"}, {5, "Łódź"}, {3, "123"}};
        for (const auto &[box, text] : pastes) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
            if (box == 5)   // by the right-click menu
                QVERIFY(testutil::pasteByMenu(w.TxtRqEp[box]));
            else
                QTest::keyClick(w.TxtRqEp[box], Qt::Key_V, Qt::ControlModifier);
        }
        QInputMethodEvent word; word.setCommitString("xy"), QApplication::sendEvent(w.TxtRqEp[4], &word);   // a word composed at once: pasted
        typeText(w.TxtRqEp[4], QString::fromUtf8("aŁbc")), QTest::sendKeyEvent(QTest::Click, w.TxtRqEp[4], Qt::Key_unknown, QString(QChar(0xE000)), {});   // typed outside Windows-1252, even a private sign Qt's box takes: never enters
        w.TxtRqEp_KeyPress(4, QChar(8)), QTest::keyClick(w.TxtRqEp[4], Qt::Key_Home);   // Backspace deletes; Home moves
        w.close();
        QCOMPARE(entry.groups[0] + '|' + QString::number(w.TxtRqEp[4]->cursorPosition()), QString("\t\t\t12\txyab\tSaintMartin|0"));
        entry.groups[0] = "1790\t25\tLannevez\t123\tLaboureur\t";   // a longer code stored earlier survives OK
        FrmRem again(entry, table), parents(entry, table);
        again.prepare(HusbandDetails), again.CmdOk_Click();
        QCOMPARE(entry.groups[0], QString("1790\t25\tLannevez\t123\tLaboureur\t"));
        parents.prepare(WifeParents), parents.show();
        QTest::keyClicks(parents.TxtRqEp[1], "61");
        QTest::keyClicks(parents.TxtRqEp[12], "kervel");
        QTest::keyClick(parents.TxtRqEp[12], Qt::Key_Escape);
        QVERIFY(parents.committed() && !parents.isVisible() && detailMode == 0);
        QCOMPARE(entry.groups[6] + '|' + entry.groups[7], QString("\t61\t\t\t\t\t\t|\t\t\t\tKervel\t\t\t"));
        QVERIFY(openDetailWindow(nullptr, 0, entry, table) == 0 && openDetailWindow(nullptr, 14, entry, table) == 0);
    }
    void parishList()
    {
        EntryState entry = newEntry();
        TableStore table = tableWith({}, {"SAINT MARTIN", "Notre-Dame"});
        QStringList warnings;
        hooks().warning = [&](QWidget *, const QString &title, const QString &text) { warnings << title + "|" + text; };
        drive([&](FrmRem &w) {
            w.TxtRqEp[0]->setText("Saint-Martin");   // not "SAINT MARTIN" again
            QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
            QCOMPARE(w.focusWidget(), w.TxtRqEp[0]);   // ready for the next name
            QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);   // emptied: adds nothing
            QCOMPARE(w.LstParoisse->count(), 3);
            w.LstParoisse->clearSelection();   // "Supprimer" with nothing selected removes nothing, says nothing
            QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
            QCOMPARE(std::pair(int(w.LstParoisse->count()), int(warnings.size())), std::pair(3, 0));
            w.LstParoisse->setCurrentRow(0);
            w.TxtRqEp[0]->setText("Locmaria");   // added, the selection kept: the first then removed
            QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);
            QTest::mouseClick(w.CmdSuivant, Qt::LeftButton);
            QCOMPARE(w.LstParoisse->count(), 3);
            typeText(w.TxtRqEp[0], QString("a") + record::Nbsp + "\tb");   // no-break space and TAB never enter
            QCOMPARE(w.TxtRqEp[0]->text(), QString("Ab"));
            w.TxtRqEp[0]->clear(), QTest::mouseClick(w.CmdOk, Qt::LeftButton);
        });
        openDetailWindow(nullptr, Parishes, entry, table);
        QCOMPARE(table.parishNames(), (QStringList{"Notre-Dame", "Saint-Martin", "Locmaria"}));
    }
    void tableProperties()
    {
        EntryState entry = newEntry();
        TableStore table = tableWith();
        table.people = QString("Ana") + record::Nbsp + "2024";   // fewer than four separators
        QStringList prompts;
        const QString answer = "1793 à 1892_ADO : 2E279@1893 à 1899_Mairie : 4E280";
        hooks().prompt = [&](QWidget *, const QString &title, const QString &message, const QString &initial) {
            prompts << title << message << initial;
            return answer;
        };
        drive([&](FrmRem &w) {
            QCOMPARE(w.TxtRqEp[0]->text(), QString("Valbrune"));
            QTest::mouseClick(w.CmdPrecedent, Qt::LeftButton);   // "Sources"
            QCOMPARE(table.sources, answer);
            typeText(w.TxtRqEp[5], "étude de la vallée");
            QTest::keyClick(w.TxtRqEp[5], Qt::Key_Escape);
        });
        openDetailWindow(nullptr, TableProperties, entry, table);
        QCOMPARE(prompts, (QStringList{"Sources et détail des périodes couvertes",
            "Veuillez saisir les périodes avec les sources correspondantes. Pour saisir les différentes périodes: \n\n"
            "1793 à 1892\tADO : 2E279, 4E280\n1893 à 1899\tMairie : 4E280\n\n1793 à 1892_ADO : 2E279, 4E280@1893 à "
            "1899_Mairie : 4E280", "1800 à 1850_AD : 3E1"}));
        const QChar nb = record::Nbsp;
        QCOMPARE(table.people, QString("Ana") + nb + "2024" + nb + nb + nb + "étude de la vallée");
    }
    void aboutBoxLink()
    {
        EntryState entry = newEntry();
        TableStore table;
        QList<QUrl> opened;
        hooks().openUrl = [&](const QUrl &u) { opened << u; };
        FrmRem w(entry, table);
        w.prepare(About), w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.LblRem[1]->text(), QString("Version ") + VELDER_VERSION);
        QCOMPARE(w.Picture1->pixmap().size(), QSize(160, 34));   // the logo, shown whole
        const QImage all = w.grab().toImage();   // the window's border: one black pixel all round
        const int wd = all.width(), ht = all.height();
        QCOMPARE(QList<QColor>({all.pixelColor(wd / 2, 0), all.pixelColor(0, ht / 2), all.pixelColor(wd / 2, ht - 1),
                                all.pixelColor(wd - 1, ht / 2)}), QList<QColor>(4, QColor(Qt::black)));
        QVERIFY(w.LblRem[2]->text().startsWith("Développé par "));   // the author is ours
        QCOMPARE(w.LblRem[4]->text(), ContactAddress);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(w.LblRem[4], &enter);
        QVERIFY(w.LblRem[4]->font().underline());
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w.LblRem[3]->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.LblRem[3], &move);
        QVERIFY(!w.LblRem[4]->font().underline());
        for (int i : {3, 4}) QTest::mouseClick(w.LblRem[i], Qt::LeftButton);   // only the address opens the mail
        QCOMPARE(opened, QList<QUrl>{QUrl("mailto:" + ContactAddress)});
    }
    // A group in its boxes: the last box takes the rest whole, fewer items leave boxes empty.
    void fillDetailBoxes()
    {
        const std::tuple<int, const char *, QStringList> cases[] = {{2, "a\tb\tc", {"a", "b", "c"}},
            {1, "a\tb\tc", {"a", "b\tc"}}, {5, "", {}}, {5, "x\ty", {"x", "y"}}, {0, "a\tb", {"a\tb"}}};
        for (const auto &[n, s, expected] : cases) {
            const Boxes b = detail::fillDetailBoxes(n, s);
            QCOMPARE(QStringList(b.begin(), b.end()), expected + QStringList(BoxCount - expected.size(), QString()));
        }
    }
    // Defaults of a new witness; what the options store; the remarks take the whole rest.
    void witnessEncoding()
    {
        TableStore table;
        EntryState blank;   // a group truly empty: no option selected, the same defaults on OK (the walks: a new one)
        DetailValues v = loadMode(Witnesses, blank, table);
        QCOMPARE(std::tuple(v.title, v.prevEnabled, v.nextEnabled, v.sex, v.with),
                 std::tuple(QString("Témoin 1"), false, true, Choice::None, Choice::None));
        commitMode(Witnesses, v, blank, table);
        QCOMPARE(blank.groups[10], QString("\t\tF\t\t\t\t\t\t\t\t2\t"));
        v = DetailValues();
        loadWitness("LE BIHAN\tAnne\tX\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t7\trq 1\trq 2", v);
        QCOMPARE(std::tuple(v.boxes[0], v.boxes[8], v.boxes[9]), std::tuple(QString("LE BIHAN"), QString("sœur"), QString("rq 1\trq 2")));
        QCOMPARE(std::pair(v.sex, v.with), std::pair(Choice::Second, Choice::Second));   // anything but "M", "1"
        v.sex = v.with = Choice::First;
        QCOMPARE(witnessGroup(v), QString("LE BIHAN\tAnne\tM\t22\tKervel\t29\tPlouzac\t29\tFileuse\tsœur\t1\trq 1\trq 2"));
        QCOMPARE(std::pair(witnessNumber("Témoin 3"), witnessNumber(QString())), std::pair(3, 1));
    }
    void witnessPaging()
    {
        EntryState e = newEntry();
        e.groups[11] = "DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t";
        TableStore table;
        DetailValues v = loadMode(Witnesses, e, table);
        const auto page = [&] { return std::tuple(v.title, v.prevEnabled, v.nextEnabled, v.boxes[0]); };
        v.boxes[0] = "UN";
        v.sex = Choice::First;
        pageNext(Witnesses, v, e);
        QCOMPARE(page(), std::tuple(QString("Témoin 2"), true, true, QString("DEUX")));
        QCOMPARE(e.groups[10], QString("UN\t\tM\t\t\t\t\t\t\t\t2\t"));
        pageNext(Witnesses, v, e);
        QCOMPARE(v.boxes[0], QString());        // group 12 holds its TABs: loaded empty
        v.boxes[0] = "TROIS";
        pageNext(Witnesses, v, e);
        QVERIFY(!pageNext(Witnesses, v, e));     // disabled: nothing moves, nothing written
        QCOMPARE(page(), std::tuple(QString("Témoin 4"), true, false, QString()));
        v.boxes[0] = "QUATRE";
        pagePrevious(Witnesses, v, e);
        QVERIFY(e.groups[13].startsWith("QUATRE\t"));
        QCOMPARE(v.boxes[0], QString("TROIS"));
        pagePrevious(Witnesses, v, e);
        QCOMPARE(page(), std::tuple(QString("Témoin 2"), true, true, QString("DEUX")));
        pagePrevious(Witnesses, v, e);
        QCOMPARE(page(), std::tuple(QString("Témoin 1"), false, true, QString("UN")));
        QCOMPARE(e.groups[11], QString("DEUX\tPaul\tM\t50\t\t\t\t\t\t\t1\t"));
        QVERIFY(e.groups[12].startsWith("TROIS\t"));
    }
    // The edges of the header values (the window test takes the common paths).
    void headerValues()
    {
        TableStore table;
        EntryState e;
        const QStringList six{"a", "b", "c", "d", "e", "f"};   // more separators: box 5 keeps the rest whole
        table.people = six.join(NB);
        DetailValues v = loadMode(TableProperties, e, table);
        QCOMPARE(v.boxes[5], QString("e") + NB + "f");
        for (int m : {Dispensation, Contract, WifeParents, TableProperties})   // nothing of the entry window to refresh
            QVERIFY(!commitMode(m, v, e, table));
        QCOMPARE(table.people, six.join(NB));
        table.setParishNames({"Église"}), v = loadMode(Parishes, e, table);
        v.boxes[0] = "ÉGLISE";
        QCOMPARE(addParish(v), AddResult::Duplicate);   // accented capitals compare too
        v.boxes[0] = "Notre-Dame";
        QCOMPARE(addParish(v), AddResult::Added);
        commitMode(Parishes, v, e, table);
        QCOMPARE(table.parishList, QString("Église") + NB + "Notre-Dame");
        v.parishes.clear();
        QVERIFY(!commitMode(Parishes, v, e, table));
        QCOMPARE(table.parishList, QString());
        table.sources = "1800 à 1850_AD : 3E1";
        QVERIFY(!applySourcesAnswer(table, "\t\n"));
        QCOMPARE(table.sources, QString("1800 à 1850_AD : 3E1"));
        QVERIFY(applySourcesAnswer(table, "1793 à 1892_ADO : 2E279\t@1893\r\n"));
        QCOMPARE(table.sources, QString("1793 à 1892_ADO : 2E279@1893"));
        QCOMPARE(detail::versionCaption("2.3"), QString("Version 2.3.0"));
        QCOMPARE(detail::versionCaption(QString()), QString("Version 0.0.0"));
        QList<int> opened;   // by the entry window's buttons CmdRq(-1..7), CmdCM captioned "CM" or not
        for (int i = -1; i <= 7; ++i)
            opened << modeForCmdRq(i);
        QCOMPARE(opened << modeForCmdCM("CM") << modeForCmdCM("MA"), (QList<int>{0, 11, 1, 4, 9, 2, 3, 10, 0, 5, 7}));
    }
    void letterCaseBoxesPerMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("boxes");   // boxes that take the letter case
        for (int mode : {1, 2, 12})
            QTest::addRow("%d", mode) << mode << QList<int>{0, 1, 2, 3, 4};
        for (int mode : {3, 4})
            QTest::addRow("%d", mode) << mode << QList<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("5") << 5 << QList<int>{0, 1, 2};
        QTest::newRow("6") << 6 << QList<int>{};
        QTest::newRow("7") << 7 << QList<int>{0, 1};
        QTest::newRow("8") << 8 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        for (int mode : {9, 10})
            QTest::addRow("%d", mode) << mode << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("11") << 11 << QList<int>{0};
    }
    void letterCaseBoxesPerMode()
    {
        QFETCH(int, mode); QFETCH(QList<int>, boxes);
        const bool surnameMode = mode >= 8 && mode <= 10;
        for (int i = 0; i < BoxCount; ++i) {
            if (!boxShown(mode, i) || isCodeBox(mode, i) || isPlaceBox(mode, i))
                continue;   // digits only / completion, checked below
            const QString typed = typeInto(mode, i, "aBc");
            const QString expected = surnameMode && i == 0 ? "ABC" : boxes.contains(i) ? "Abc" : "aBc";
            QVERIFY2(typed == expected, qPrintable(QString("box %1: %2").arg(i).arg(typed)));
        }
    }
    // Letter case follows the character before the caret; code boxes; what may be pasted or typed.
    void keysOfTheBoxes()
    {
        for (const QStringList &c : testutil::caseRows("detail_typing.txt")) {
            QCOMPARE(typeInto(c[0].toInt(), c[1].toInt(), c[2]), c[3]);
            QCOMPARE(press(c[0].toInt(), c[1].toInt(), "2", 1, QChar(8)).kind, KeyOutcome::Insert);   // Backspace, in any box
        }
        QCOMPARE(std::pair(press(HusbandDetails, 1, "ab", 0, u'c').key, press(HusbandDetails, 1, "a b", 1, u'C').key), std::pair(QChar(u'C'), QChar(u'c')));
        const QString withNbsp = QString("Notre") + record::Nbsp + "Dame";   // what may be pasted or typed
        QCOMPARE(cleanPaste(withNbsp, Parishes, 0), QString("Notre Dame"));   // a header value
        QCOMPARE(cleanPaste(withNbsp, Witnesses, 1), withNbsp);
        QCOMPARE(cleanPaste("1a", Witnesses, 4), std::nullopt);
        QVERIFY(typedCharAllowed(u'€', Witnesses) && !typedCharAllowed(record::Nbsp, TableProperties));
    }
    // The other paths than the window test's "PAR" typed into a residence box.
    void placeCompletion()
    {
        TableStore t;
        QStringList lines{testutil::header()};
        for (const char *o : {"Lannevez", "Parinec", "Parigué", "Plouzac"})
            lines << testutil::recordLine({{"Org EPX", QString::fromUtf8(o)}});
        t.setContent(lines << QString());   // and the spare slot
        // The next key replaces the selection: "Parig" finds the later record.
        KeyOutcome o = press(Witnesses, 5, "Parinec", 4, u'g', t);
        QCOMPARE(std::tuple(o.kind, o.text, o.selStart, o.selLength), std::tuple(KeyOutcome::Complete, QString("Parigué"), 5, 2));
        o = press(Witnesses, 5, "Pa", 2, u'x', t);      // no match: the key goes on
        QCOMPARE(std::pair(o.kind, o.key), std::pair(KeyOutcome::Insert, QChar(u'x')));
        // Place boxes of other modes; other boxes never complete, nor does an empty table.
        for (const auto &[mode, box] : QList<QPair<int, int>>{{1, 2}, {3, 4}, {4, 12}, {10, 5}, {9, 3}})
            QCOMPARE(press(mode, box, "", 0, u'l', t).text, QString("Lannevez"));
        for (const auto &[mode, box] : QList<QPair<int, int>>{{1, 4}, {8, 0}, {5, 3}, {12, 0}})
            QCOMPARE(press(mode, box, "", 0, u'l', t).kind, KeyOutcome::Insert);
        QCOMPARE(press(Witnesses, 3, "", 0, u'l', TableStore()).kind, KeyOutcome::Insert);
    }
};

QTEST_MAIN(TestDetailWindow)
#include "test_detail_window.moc"
