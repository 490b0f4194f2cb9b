// A volunteer types a whole record into the real entry window, Enter from box to box.
#include "app/form1.h"
#include "testutil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace testutil;

namespace {

QWidget *focused() { return QApplication::focusWidget(); }

void type(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClicks(focused(), QString(c));
        } else {
            // Accented letters arrive as text with no key code of their own.
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focused(), &press);
            QApplication::sendEvent(focused(), &release);
        }
    }
}

void enter() { QTest::keyClick(focused(), Qt::Key_Return); }

} // namespace

class TestTyping : public QObject {
    Q_OBJECT
private slots:
    void volunteerTypesARecord()
    {
        QTemporaryDir dir;
        TableStore table;
        table.setAppFolder(dir.path());
        const QString path = dir.filePath("Valbrune.krv");
        QVERIFY(writeBytes(path, fileBytes({header("Valbrune", {"Saint-Martin", "Notre-Dame"}),
                                            recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Notre-Dame"},
                                                        {"Nom EPX", "ARZEL"}, {"Org EPX", "Lannévez"}})})));
        Form1 form(table);
        QStringList messages;
        form.showMessage = [&](const QString &, const QString &text) { messages << text; };
        QList<int> details;
        form.onDetail = [&](int mode) { details << mode; };
        form.managerVisible = [] { return false; };
        QVERIFY(form.loadTable(path));
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));

        // The new record starts on the act type; the place and parish are the last record's.
        QCOMPARE(focused(), form.CmbActe);
        enter();
        QCOMPARE(focused(), form.Txt[3]);      // "Cote:" is hidden for a marriage
        type("12021788");                      // the date as eight digits in a row
        QCOMPARE(form.Txt[3]->text(), QStringLiteral("12"));
        QCOMPARE(form.Txt[4]->text(), QStringLiteral("02"));
        QCOMPARE(form.Txt[5]->text(), QStringLiteral("1788"));
        form.Txt[6]->setFocus();               // past the dispensation box
        type("le gouardec");
        enter();
        type("yves marie");
        enter();
        type("lan");                           // completed from the earlier record
        QCOMPARE(form.Txt[8]->text(), QStringLiteral("Lannévez"));
        enter();
        type("56");
        QCOMPARE(form.Txt[10]->text(), QStringLiteral("LE GOUARDEC"));
        enter();
        QCOMPARE(focused(), form.CmdRq[1]);    // Enter on the detail button opens it
        enter();
        QCOMPARE(details, QList<int>{1});
        form.Txt[11]->setFocus();
        type("jean");
        enter();
        type("+");
        enter();
        type("kerbrat");
        enter();
        type("marie josèphe");
        form.Txt[18]->setFocus();
        type("de la fougerais");
        enter();
        type("anne");
        QCOMPARE(form.Txt[22]->text(), QStringLiteral("de la FOUGERAIS"));
        form.Txt[30]->setFocus();
        type("vu le registre");
        QVERIFY(messages.isEmpty());

        form.CmdSuivant_Click();
        QCOMPARE(table.recordCount(), 2);
        QStringList f;
        QVERIFY(record::splitFields(table.line(2), f));
        QCOMPARE(f[0], QStringLiteral("Valbrune"));
        QCOMPARE(f[1], QStringLiteral("Notre-Dame"));
        QCOMPARE(f[2], QStringLiteral("MA"));
        QCOMPARE(f[4], QStringLiteral("12/02/1788"));
        QCOMPARE(f[6], QStringLiteral("LE GOUARDEC"));
        QCOMPARE(f[7], QStringLiteral("Yves Marie"));
        QCOMPARE(f[8], QStringLiteral("Lannévez"));
        QCOMPARE(f[9], QStringLiteral("56"));
        QCOMPARE(f[16], QStringLiteral("LE GOUARDEC"));
        QCOMPARE(f[17], QStringLiteral("Jean"));
        QCOMPARE(f[18], QStringLiteral("+"));
        QCOMPARE(f[27], QStringLiteral("KERBRAT"));
        QCOMPARE(f[28], QStringLiteral("Marie Josèphe"));
        QCOMPARE(f[56], QStringLiteral("de la FOUGERAIS"));
        QCOMPARE(f[57], QStringLiteral("Anne"));
        QCOMPARE(f[66], QString());            // her father's box held only the copied surname
        QCOMPARE(f[160], QStringLiteral("vu le registre"));
        QCOMPARE(form.Txtnb->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestTyping)
#include "test_app_typing.moc"
