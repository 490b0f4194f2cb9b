#include "app/daterules.h"
#include "app/fieldedit.h"
#include "store/tablestore.h"
#include "testutil.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A bare window holding the 31 boxes in index order.
class Host : public QWidget, public FieldHost {
public:
    Host()
    {
        auto *layout = new QVBoxLayout(this);
        for (int i = 0; i < record::TxtCount; ++i) {
            txt[i] = new FieldEdit(i, *this, this);
            layout->addWidget(txt[i]);
        }
        help = new QLabel(this);
        layout->addWidget(help);
    }

    QString boxText(int i) const override { return txt[i]->text(); }
    const TableStore *table() const override { return &store; }
    DateBoxes dateBoxes() const override { return date; }
    void setBoxText(int i, const QString &t) override { txt[i]->setText(t); }
    void setDateBoxes(const DateBoxes &d) override { date = d; }
    void focusBox(int i) override { txt[i]->setFocus(); }
    void focusDispense() override {}
    void setHelp(const QString &t) override { help->setText(t); }
    void pageKey(int) override {}
    void beep() override { ++beeps; }

    std::array<FieldEdit *, record::TxtCount> txt{};
    QLabel *help = nullptr;
    TableStore store;
    DateBoxes date = daterules::designed();
    int beeps = 0;
};

// Keys with their text, accented letters included (QTest::keyClicks takes ASCII only).
void typeText(QWidget *box, const QString &keys)
{
    for (QChar c : keys) {
        if (c.unicode() < 0x80)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestFieldEdit : public QObject {
    Q_OBJECT
    Host *w = nullptr;

    void focus(int i)
    {
        w->txt[i]->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), w->txt[i]);
    }

private slots:
    void init()
    {
        w = new Host;
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    // The typing test of the entry window covers the house style; these are the widget's own paths.
    void selectionOnEnteringAndEnterInTheNotes()
    {
        focus(6);
        typeText(w->txt[6], QStringLiteral("éon"));
        QCOMPARE(w->txt[10]->text(), QStringLiteral("ÉON"));
        // Tabbing back in selects all: Backspace empties the surname and its copy.
        focus(7);
        focus(6);
        QTest::keyClick(w->txt[6], Qt::Key_Backspace);
        QCOMPARE(w->txt[6]->text(), QString());
        QCOMPARE(w->txt[10]->text(), QString());
        focus(30);
        QTest::keyClicks(w->txt[30], QStringLiteral("vu"));
        QTest::keyClick(w->txt[30], Qt::Key_Enter);
        QCOMPARE(w->txt[30]->text(), QStringLiteral("vu"));
        QVERIFY(QApplication::focusWidget() != w->txt[30]);
    }

    void markerLeftClearsTheUnnamedFather()
    {
        focus(6);
        QTest::keyClicks(w->txt[6], QStringLiteral("le goff"));
        focus(12);
        QCOMPARE(w->help->text(), QStringLiteral("Si la personne est décédée lors du mariage, mettre \"+\""));
        QTest::keyClicks(w->txt[12], QStringLiteral("x+"));
        QCOMPARE(w->txt[12]->text(), QStringLiteral("+"));
        QCOMPARE(w->beeps, 1);
        QTest::keyClick(w->txt[12], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->txt[13]);
        QCOMPARE(w->txt[10]->text(), QString());
        QCOMPARE(w->help->text(), QString());
    }

    void pasteKeepsTheRecordLineWhole()
    {
        focus(30);
        QGuiApplication::clipboard()->setText(QStringLiteral("A\tB\r\nC"));
        QTest::keyClick(w->txt[30], Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->txt[30]->text(), QStringLiteral("ABC"));
        QCOMPARE(w->beeps, 0);
        // A character no table can hold: the paste is refused as a whole.
        QGuiApplication::clipboard()->setText(QStringLiteral("Z") + QChar(0x0101));
        QTest::keyClick(w->txt[30], Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->txt[30]->text(), QStringLiteral("ABC"));
        QCOMPARE(w->beeps, 1);
        // The short boxes take no more than their length; a surname paste is followed by the father's.
        focus(9);
        w->txt[9]->pasteText(QStringLiteral("2978"));
        QCOMPARE(w->txt[9]->text(), QStringLiteral("29"));
        focus(18);
        w->txt[18]->pasteText(QStringLiteral("KER\tBRAS"));
        QCOMPARE(w->txt[18]->text(), QStringLiteral("KERBRAS"));
        QCOMPARE(w->txt[22]->text(), QStringLiteral("KERBRAS"));
    }

    void contextMenuPasteIsCleaned()
    {
        focus(30);
        QGuiApplication::clipboard()->setText(QStringLiteral("N\tO"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2), w->txt[30]->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(w->txt[30], &menuEvent);
        QMenu *menu = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *m = qobject_cast<QMenu *>(top); m && m->isVisible())
                menu = m;
        QVERIFY(menu);
        QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        QCOMPARE(w->txt[30]->text(), QStringLiteral("NO"));
    }

    void dropIsCleanedToo()
    {
        focus(30);
        auto drop = [this](const QString &text) {
            QMimeData data;
            data.setText(text);
            const QPoint at = w->txt[30]->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w->txt[30], &enter);
            QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w->txt[30], &dropped);
        };
        drop(QStringLiteral("X\nY"));
        QCOMPARE(w->txt[30]->text(), QStringLiteral("XY"));
        drop(QString(QChar(0x0101)));
        QCOMPARE(w->txt[30]->text(), QStringLiteral("XY"));
        QCOMPARE(w->beeps, 1);
    }

    void dateBoxesInTheWidget()
    {
        w->date = daterules::gregorian();
        focus(3);
        QCOMPARE(w->help->text(), daterules::FormatHelp);
        QVERIFY(w->txt[3]->alignment() & Qt::AlignRight);
        QTest::keyClicks(w->txt[3], QStringLiteral("a1"));   // a letter in the day: a beep
        QCOMPARE(w->txt[3]->text(), QStringLiteral("1"));
        QCOMPARE(w->beeps, 1);
        focus(4);                                            // leaving the day pads and centres it
        QCOMPARE(w->txt[3]->text(), QStringLiteral("01"));
        QVERIFY(w->txt[3]->alignment() & Qt::AlignHCenter);
        // A month name shortens the year box without cutting the year typed before.
        w->txt[5]->setText(QStringLiteral("1815"));
        QTest::keyClick(w->txt[4], 'b');
        QCOMPARE(w->txt[4]->selectedText(), QStringLiteral("rum"));
        QCOMPARE(w->txt[5]->text(), QStringLiteral("1815"));
    }
};

QTEST_MAIN(TestFieldEdit)
#include "test_app_fieldedit.moc"
