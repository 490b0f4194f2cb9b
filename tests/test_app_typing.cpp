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
        const std::pair<int, const char *> expected[] = {
            {0, "Valbrune"}, {1, "Notre-Dame"}, {2, "MA"}, {4, "12/02/1788"}, {6, "LE GOUARDEC"},
            {7, "Yves Marie"}, {8, "Lannévez"}, {9, "56"}, {16, "LE GOUARDEC"}, {17, "Jean"}, {18, "+"},
            {27, "KERBRAT"}, {28, "Marie Josèphe"}, {56, "de la FOUGERAIS"}, {57, "Anne"},
            {66, ""},   // her father's box held only the copied surname
            {160, "vu le registre"}};
        for (const auto &[field, value] : expected)
            QCOMPARE(f[field], QString::fromUtf8(value));
        QCOMPARE(form.Txtnb->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestTyping)
#include "test_app_typing.moc"
