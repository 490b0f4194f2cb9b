#include "app/twips.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "tables/frmouvrir.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace testutil;

namespace {
struct Reply {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool defaultYes = false;
};
// A dialog on a folder of invented tables, every message and question answered here.
struct Harness {
    QTemporaryDir dir;
    std::unique_ptr<FrmOuvrir> form;
    QStringList opened, printed;
    QList<Reply> messages, questions;
    bool answer = true, openResult = true;
    int propertiesAsked = 0, quits = 0, savedBeforeQuit = 0;
    QList<QPair<QString, QString>> started;
    explicit Harness(const QStringList &tables = {"Bourg.krv", "abbaye.krv", "Zeste.krv"})
    {
        // The trash of the tests stays inside their folder.
        QDir(dir.path()).mkdir(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        for (const QString &t : tables)
            writeBytes(path(t), fileBytes({header(t.chopped(4)), recordLine({{"Nom EPX", "LE BRAS"}})}));
        writeBytes(path(QStringLiteral("notes.txt")), "x\r\n");
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList texts() const
    {
        QStringList said;
        for (const Reply &r : messages)
            said << r.title + u'|' + r.text;
        return said;
    }
    FrmOuvrir &make()
    {
        form = std::make_unique<FrmOuvrir>(dir.path());
        FrmOuvrir &f = *form;
        f.openTable = [this](const QString &p) { return opened << p, openResult; };
        f.askProperties = [this](TableStore &t) {
            ++propertiesAsked;
            t.commune = QStringLiteral("Kermadec");
            t.people = QStringList{"Anne Riou", "1998", "Job Tanguy", "", "Étude des Moulins"}.join(record::Nbsp);
        };
        f.printTable = [this](const QString &p) { printed << p; };
        f.showMessage = [this](const QString &title, const QString &text, QMessageBox::Icon icon) { messages << Reply{title, text, icon}; };
        f.askYesNo = [this](const QString &title, const QString &text, QMessageBox::Icon icon, bool defaultYes) {
            questions << Reply{title, text, icon, defaultYes};
            return answer;
        };
        f.beforeQuit = [this] { savedBeforeQuit += quits == 0 ? 1 : 100; };
        f.quitProgram = [this] { ++quits; };
        f.startProgram = [this](const QString &program, const QString &folder) { return started << qMakePair(program, folder), true; };
        f.show();
        return f;
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < form->File1->count(); ++i)
            names << form->File1->item(i)->text();
        return names;
    }
};
} // namespace

class TestTablesManagerDialog : public QObject {
    Q_OBJECT
    // The message box an action opens: its icon, its buttons and what Enter presses there.
    static QString realBox(const std::function<void()> &action)
    {
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                QStringList buttons;
                for (QAbstractButton *b : box->buttons())
                    buttons << b->text().remove(u'&');
                QTest::keyClick(box, Qt::Key_Return);
                seen = QString("%1 %2, Enter %3").arg(box->icon()).arg(buttons.join(u'|'))
                           .arg(box->clickedButton() ? box->clickedButton()->text().remove(u'&') : QString());
            }
        });
        action();
        return seen;
    }

private slots:
    void startsOnTheTablesOfTheFolder()
    {
        Harness h;
        FrmOuvrir &f = h.make();
        QCOMPARE(f.windowTitle(), QStringLiteral("Ouvrir"));
        QCOMPARE(h.listed(), (QStringList{"abbaye.krv", "Bourg.krv", "Zeste.krv"}));
        QCOMPARE(f.selectedTable(), QStringLiteral("abbaye.krv"));
        QVERIFY(f.Option1->isChecked() && !f.TxtNomTable->isEnabled());   // centred on the screen
        QVERIFY((f.frameGeometry().center() - f.screen()->availableGeometry().center()).manhattanLength() < 5);
        const QPoint moved = f.pos() + QPoint(40, 30);
        f.move(moved), f.hide(), f.show();   // placed once: then it stays where the user puts it
        QCOMPARE(f.pos(), moved);
        // Every control against the layout by hand (no sibling program: no icon button, no progress), then the keyboard order.
        const QList<QPair<const char *, QWidget *>> controls{
            {"Frame1", f.Frame1}, {"OptNvtbl", f.OptNvtbl}, {"Option1", f.Option1}, {"TxtNomTable", f.TxtNomTable},
            {"File1", f.File1}, {"OKButton", f.OKButton}, {"CmdAnnuler", f.CmdAnnuler}, {"CmdImporter", f.CmdImporter},
            {"CmdExporter", f.CmdExporter}, {"CmdSuppr", f.CmdSuppr}, {"CmdPrint", f.CmdPrint}, {"Frame2", f.Frame2},
            {"Option2", f.Option2}, {"Frame3", f.Frame3}, {"Option3", f.Option3}, {"Label1", f.Label1},
            {"Picture1", f.Picture1}, {"LblAide", f.LblAide}, {"Line1", f.Line1}, {"Line2", f.Line2}, {"Line3", f.Line3}, {"Line4", f.Line4}};
        QStringList got, order{QStringLiteral("order")};
        for (const auto &[name, c] : controls) {
            const auto *button = qobject_cast<QAbstractButton *>(c);
            const auto *label = qobject_cast<QLabel *>(c);
            // The designed box in twips; then where Qt put it: a line in its pixels, a control only if elsewhere.
            const QRect t = c->property("velderTwips").toRect(), r = c->geometry();
            const bool line = QString::fromLatin1(name).startsWith("Line");
            const QString px = QStringLiteral(" px %1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
            got << QStringLiteral("%1 \"%2\" %3 %4 %5 %6").arg(QString::fromLatin1(name), button ? button->text() : label ? label->text() : QString())
                       .arg(t.x()).arg(t.y()).arg(t.width()).arg(t.height())
                   + (line || r != twips::rect(t.x(), t.y(), t.width(), t.height()) ? px : QString()) + (c->isHidden() ? " hidden" : "") + (c->font().bold() ? " bold" : "")
                   + (line && c->autoFillBackground() ? u' ' + c->palette().color(QPalette::Window).name() : QString())
                   + (button && !button->icon().isNull()
                          ? QStringLiteral(" icon %1x%2").arg(button->icon().availableSizes().value(0).width())
                                .arg(button->icon().availableSizes().value(0).height()) : QString());
        }
        QWidget *w = f.OKButton;
        for (int step = 0; step < 100 && order.size() < 13; ++step, w = w->nextInFocusChain())
            for (const auto &[name, c] : controls)
                if (c == w && w->focusPolicy() != Qt::NoFocus)
                    order << QString::fromLatin1(name);
        got << order.join(u' ');
        QEvent enter(QEvent::Enter);   // hover help, and the bare dialog clears it
        for (const auto &[name, c] : controls) {
            f.LblAide->clear();
            QApplication::sendEvent(c, &enter);
            if (!f.LblAide->text().isEmpty())
                got << QStringLiteral("help %1 %2").arg(QString::fromLatin1(name), f.LblAide->text());
        }
        QCOMPARE(got, testutil::dataLines("manager_layout.txt"));
        QApplication::sendEvent(f.OKButton, &enter);
        QVERIFY(!f.LblAide->text().isEmpty());
        const QPoint bare = twips::rect(2100, 700, 1, 1).topLeft();
        QMouseEvent move(QEvent::MouseMove, bare, f.mapToGlobal(bare), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&f, &move);
        QCOMPARE(f.LblAide->text(), QString());
    }
    // A table the entry window refuses, an empty one, one gone: the dialog stays. An older table is upgraded before it opens.
    void tablesCheckedBeforeTheyOpen()
    {
        Harness h;
        QStringList old;
        for (int i = 1; i <= record::FieldCount; ++i)
            old << QStringLiteral("c%1").arg(i);
        old.removeAt(66), old.removeAt(16);
        writeBytes(h.path(QStringLiteral("Zeste.krv")), fileBytes({header(), old.join(u'\t')}));
        FrmOuvrir &f = h.make();
        h.openResult = false;
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QVERIFY(h.opened.size() == 1 && f.isVisible());
        writeBytes(h.path(QStringLiteral("abbaye.krv")), {});
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.opened.size(), 1); // never handed to the entry window
        QCOMPARE(h.texts(), QStringList{QStringLiteral("VELDER|La table « abbaye.krv » est vide : elle n'a pas même de ligne "
                                                       "d'en-tête et ne peut pas être ouverte.")});
        QVERIFY(f.isVisible());
        QFile::remove(h.path(QStringLiteral("abbaye.krv")));
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.texts().value(1), QStringLiteral("VELDER|La table « abbaye.krv » n'existe plus dans le dossier de l'application."));
        QVERIFY(h.messages.size() == 2 && h.listed() == QStringList({"Bourg.krv", "Zeste.krv"}));
        QTest::keyClick(f.File1, Qt::Key_Down);   // the arrows move in the list, and open nothing
        {   // the old table cannot be rewritten (a full disk): said, and not opened
            const SizeLimit full(100);
            QTest::mouseClick(f.OKButton, Qt::LeftButton);
        }
        QCOMPARE(h.texts().last(), QStringLiteral("VELDER|La table « Zeste.krv » est enregistrée dans l'ancien format à 159 "
                                                  "champs et n'a pas pu être convertie. Vérifiez que le fichier et le dossier "
                                                  "de l'application ne sont pas en lecture seule, puis recommencez."));
        QVERIFY(h.messages.last().icon == QMessageBox::Warning && h.opened.size() == 1 && f.isVisible());
        QTest::keyClick(f.OKButton, Qt::Key_Return);   // Enter on a focused button presses it
        QCOMPARE(h.opened.size(), 2);
        old.insert(16, old[6]);    // the fathers' surnames, from the spouses'
        old.insert(66, old[56]);
        QCOMPARE(readBytes(h.path(QStringLiteral("Zeste.krv"))), fileBytes({header(), old.join(u'\t')}));
    }
    void utf8TableOpensWithAWarning()
    {
        // Opened as it is, with one word that its accents may show wrongly; ours, and one of plain letters, open without a word.
        Harness h;
        const QByteArray utf8 = (header() + QStringLiteral("\r\n") + recordLine({{"Prenom EPX", "Frédéric"}}) + u'\r').toUtf8();
        writeBytes(h.path(QStringLiteral("abbaye.krv")), "\xef\xbb\xbf" + utf8);
        writeBytes(h.path(QStringLiteral("Bourg.krv")), utf8);
        writeBytes(h.path(QStringLiteral("Zeste.krv")), fileBytes({QStringLiteral("Plou\tr\tp\t")}));
        FrmOuvrir &f = h.make();
        QStringList expected;
        for (int row : {0, 1, 2}) {
            f.show();
            f.File1->setCurrentRow(row);
            QTest::mouseClick(f.OKButton, Qt::LeftButton);
            if (row < 2)
                expected << QStringLiteral("VELDER|") + FrmOuvrir::utf8Warning(f.File1->item(row)->text());
        }
        QCOMPARE(h.opened.size(), 3);
        QCOMPARE(h.texts(), expected);
        QVERIFY(expected.first().startsWith(QStringLiteral("VELDER|La table « abbaye.krv » ne semble pas avoir été écrite par Velder")));
        QCOMPARE(readBytes(h.path(QStringLiteral("Bourg.krv"))), utf8);
    }
    void newTable()
    {
        Harness h({QStringLiteral("BOURG.krv")});
        FrmOuvrir &f = h.make();
        // A click into the name box, disabled until then, chooses the new-table mode.
        QTest::mouseClick(f.TxtNomTable, Qt::LeftButton);
        QVERIFY(f.OptNvtbl->isChecked() && f.TxtNomTable->isEnabled() && !f.File1->isEnabled());
        QTest::keyClicks(f.TxtNomTable, QStringLiteral("bourg.txt"));
        // Same name in another letter case: asked, and No changes nothing.
        h.answer = false;
        QTest::keyClick(f.TxtNomTable, Qt::Key_Return);
        QCOMPARE(h.questions.size(), 1);
        QCOMPARE(h.questions.first().title, QStringLiteral("La Table existe déjà"));
        QCOMPARE(h.questions.first().text, QStringLiteral("La table figure déjà dans la liste. Voulez-vous l'écraser?"));
        QVERIFY(h.propertiesAsked == 0 && h.opened.isEmpty() && f.TxtNomTable->text() == "bourg");   // ".txt" dropped
        QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files), (QStringList{"BOURG.krv", "notes.txt"}));
        // Yes replaces the listed file by a table holding only its new header line.
        h.answer = true;
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.propertiesAsked, 1);
        const QString bourg = h.path(QStringLiteral("BOURG.krv"));
        QCOMPARE(h.opened, QStringList{bourg});
        QCOMPARE(readBytes(bourg), QByteArray("Kermadec\t\tAnne Riou\xa0" "1998\xa0Job Tanguy\xa0\xa0\xc9tude des Moulins\t\r\n"));
        QVERIFY(f.Option1->isChecked() && f.TxtNomTable->text().isEmpty());
        // ".TXT" is kept (".txt" alone is dropped).
        f.show();
        QTest::mouseClick(f.OptNvtbl, Qt::LeftButton);
        QTest::keyClicks(f.TxtNomTable, QStringLiteral("Nord.TXT"));
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.opened.last(), h.path(QStringLiteral("Nord.TXT.krv")));
        QVERIFY(QFile::exists(h.opened.last()) && h.questions.size() == 2);
        // No name, or an unsafe one: said at once, no file, no properties asked.
        f.show();
        QTest::mouseClick(f.OptNvtbl, Qt::LeftButton);
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QTest::keyClicks(f.TxtNomTable, QStringLiteral("Plein:"));
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.texts(), (QStringList{"VELDER|Veuillez sélectionner une table",
                                         "VELDER|Le nom d'une table ne peut contenir aucun des caractères \\ / : * ? \" < > |"}));
        QCOMPARE(h.propertiesAsked + h.opened.size(), 4);
        // A folder in the new table's place: said, as an error, and nothing opened.
        QVERIFY(QDir(h.dir.path()).mkdir(QStringLiteral("Plein.krv")));
        QTest::keyClick(f.TxtNomTable, Qt::Key_Backspace);
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QCOMPARE(h.texts().last(), QStringLiteral("VELDER|La table « Plein.krv » n'a pas pu être créée. Vérifiez que le "
                                                  "dossier de l'application n'est pas en lecture seule, puis recommencez."));
        QVERIFY(h.messages.last().icon == QMessageBox::Critical && h.opened.size() == 2 && f.isVisible());
    }
    void deleteToTheTrash()
    {
        Harness h;
        FrmOuvrir &f = h.make();
        f.File1->setCurrentRow(2);
        h.answer = false;
        QTest::mouseClick(f.CmdSuppr, Qt::LeftButton);
        QCOMPARE(h.questions.size(), 1);
        QCOMPARE(h.questions.first().title + u'|' + h.questions.first().text,
                 QStringLiteral("Suppression d'une table|Voulez-vous vraiment placer la table « Zeste.krv » dans la corbeille ?"));
        // A table is thrown away only by a deliberate Yes: Enter answers No.
        QVERIFY(h.questions.first().icon == QMessageBox::Warning && !h.questions.first().defaultYes);
        QVERIFY(QFile::exists(h.path(QStringLiteral("Zeste.krv"))));
        h.answer = true;
        QTest::mouseClick(f.CmdSuppr, Qt::LeftButton);
        QVERIFY(!QFile::exists(h.path(QStringLiteral("Zeste.krv"))) && h.messages.isEmpty());
        QCOMPARE(h.listed(), (QStringList{"abbaye.krv", "Bourg.krv"}));
        QVERIFY(f.selectedTable() == QStringLiteral("Bourg.krv") && h.opened.isEmpty());
        // The data folder a plain file: no trash can be made there, nothing is deleted.
        QDir(h.path(QStringLiteral("data"))).removeRecursively();
        writeBytes(h.path(QStringLiteral("data")), "x");
        const QString before = QDir::currentPath();   // where some Qt versions file it instead
        QVERIFY(QDir::setCurrent(h.dir.path()));
        QTest::mouseClick(f.CmdSuppr, Qt::LeftButton);
        QDir::setCurrent(before);   // the table back in place, and no note of it left there
        QVERIFY(QFile::exists(h.path(QStringLiteral("Bourg.krv"))) && QDir(h.path(QStringLiteral("info"))).isEmpty());
        QCOMPARE(h.texts(), QStringList{QStringLiteral("VELDER|La corbeille ne peut pas recevoir la table « Bourg.krv ». "
                                                       "La table n'a pas été supprimée.")});
        QCOMPARE(h.listed().size(), 2);
        // The real question: a warning whose Enter answers No.
        f.askYesNo = nullptr;
        QCOMPARE(realBox([&] { QTest::mouseClick(f.CmdSuppr, Qt::LeftButton); }), QString("2 Yes|No, Enter No"));
        QVERIFY(QFile::exists(h.path(QStringLiteral("Bourg.krv"))));
    }
    void emptyFolder()
    {
        Harness h(QStringList{});
        FrmOuvrir &f = h.make();
        QCOMPARE(f.File1->count(), 0);
        QTest::mouseClick(f.OKButton, Qt::LeftButton);
        QVERIFY(h.messages.isEmpty() && h.opened.isEmpty());
        for (QPushButton *b : {f.CmdSuppr, f.CmdPrint, f.CmdExporter})
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(h.texts(), QStringList(3, QStringLiteral("VELDER|Veuillez sélectionner une table")));
        QVERIFY(h.printed.isEmpty());
        f.showMessage = nullptr;   // the real box: no icon, OK alone
        QCOMPARE(realBox([&] { QTest::mouseClick(f.CmdPrint, Qt::LeftButton); }), QString("0 OK, Enter OK"));
    }
    // "Ouvrir" of the entry window: the list back, the table selected; an import listed, not opened; siblings; "Quitter".
    void listSiblingsAndQuit()
    {
        Harness h;
        // Looked for beside the program, not among the tables; started in the tables' folder.
        QTemporaryDir program;
        for (const char *sibling : {"PrintVelder.exe", "VelderExport"})
            writeBytes(QDir(program.path()).filePath(QString::fromLatin1(sibling)), "MZ");
        writeBytes(h.path(QStringLiteral("VelderExport.exe")), "MZ");
        FrmOuvrir &f = h.make();
        f.File1->setCurrentRow(1);
        writeBytes(h.path(QStringLiteral("Anse.krv")), fileBytes({header()}));
        f.showAgain();
        QCOMPARE(f.selectedTable(), QStringLiteral("Bourg.krv"));
        QCOMPARE(h.listed().size(), 4);
        QFile::remove(h.path("abbaye.krv")), QFile::remove(h.path("Anse.krv")), QFile::rename(h.path("Bourg.krv"), h.path("BOURG.krv"));
        f.showAgain();   // renamed elsewhere in another case, the tables before it gone: still the one selected
        QCOMPARE(f.selectedTable(), QStringLiteral("BOURG.krv"));
        f.importTable = [&h] {
            writeBytes(h.path(QStringLiteral("Brennec.krv")), fileBytes({header()}));
            return h.path(QStringLiteral("Brennec.krv"));
        };
        QTest::mouseClick(f.CmdImporter, Qt::LeftButton);
        QCOMPARE(f.selectedTable(), QStringLiteral("Brennec.krv"));
        QVERIFY(h.opened.isEmpty());
        f.setProgramFolder(program.path());
        QVERIFY(f.Frame2->isVisible() && f.Frame3->isVisible() && f.Option2->iconSize() == QSize(24, 23) && f.Option3->iconSize() == QSize(26, 26));
        QCOMPARE(f.LblAide->palette().color(QPalette::WindowText), QColor(64, 64, 64));   // the help in dark grey
        QTest::mouseClick(f.Option3, Qt::LeftButton);
        QCOMPARE(h.started, (QList<QPair<QString, QString>>{{QDir(program.path()).filePath(QStringLiteral("PrintVelder.exe")), h.dir.path()}}));
        QVERIFY(!f.Option3->isChecked());
        f.startProgram = [](const QString &, const QString &) { return false; };
        QTest::mouseClick(f.Option2, Qt::LeftButton);
        QCOMPARE(h.texts().last(), QStringLiteral("VELDER|Le programme « VelderExport » n'a pas pu être lancé."));
        QTest::mouseClick(f.CmdPrint, Qt::LeftButton);
        QCOMPARE(h.printed, QStringList{h.path(QStringLiteral("Brennec.krv"))});
        QTest::mouseClick(f.CmdAnnuler, Qt::LeftButton);
        QVERIFY(h.savedBeforeQuit == 1 && h.quits == 1 && !f.isVisible());   // saved first, then the program ends
    }
};

QTEST_MAIN(TestTablesManagerDialog)
#include "test_tables_manager_dialog.moc"
