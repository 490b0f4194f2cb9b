#include "app/daterules.h"
#include "ruleshost.h"

#include <QTest>

using namespace fieldrules;
using ruleshost::Window;

namespace {
constexpr int Day = 3, Month = 4, Year = 5;

// Types keys into the date from the day box on, following the focus as the
// window does (leaving a box completes it); returns the box holding the focus
// at the end, or -1 once it went on to the dispensation box.
int typeDate(Window &w, const QString &keys, int from = Day)
{
    int at = from;
    Box b = w.enter(at);
    for (QChar k : keys) {
        w.lastFocus = Focus::Stay;
        b = w.key(at, b, k);
        const Focus next = w.lastFocus;
        if (next == Focus::Stay)
            continue;
        w.leave(at, b);
        w.lastFocus = next;
        if (next == Focus::Dispense)
            return -1;
        at = next == Focus::Month ? Month : Year;
        b = w.enter(at);
    }
    return at;
}

// Keys into one box starting empty; returns the number of beeps.
int beepsTyping(Window &w, int box, const QString &keys)
{
    const int before = w.beeps;
    w.type(box, keys, Box{});
    return w.beeps - before;
}
} // namespace

class TestDateRules : public QObject {
    Q_OBJECT
private slots:
    void gregorianLimits()
    {
        Window w;
        w.date = daterules::gregorian();
        QCOMPARE(beepsTyping(w, Day, "32"), 1);
        QCOMPARE(w.txt[Day], QStringLiteral("3"));
        QCOMPARE(beepsTyping(w, Day, "31"), 0);
        QCOMPARE(w.lastFocus, Focus::Month);
        QCOMPARE(beepsTyping(w, Month, "13"), 1);
        QCOMPARE(w.txt[Month], QStringLiteral("1"));
        QCOMPARE(beepsTyping(w, Month, "12"), 0);
        QCOMPARE(beepsTyping(w, Year, "1991"), 1);
        QCOMPARE(w.txt[Year], QStringLiteral("199"));
        QCOMPARE(beepsTyping(w, Year, "1990"), 0);
        QCOMPARE(w.lastFocus, Focus::Dispense);
        QCOMPARE(beepsTyping(w, Day, "00"), 0);    // no lower limit
    }

    void republicanLimits()
    {
        Window w;
        w.date = daterules::republican();
        QCOMPARE(beepsTyping(w, Day, "31"), 1);
        QCOMPARE(w.txt[Day], QStringLiteral("3"));
        QCOMPARE(beepsTyping(w, Day, "30"), 0);
        QCOMPARE(beepsTyping(w, Year, "15"), 1);
        QCOMPARE(beepsTyping(w, Year, "14"), 0);
        QCOMPARE(w.lastFocus, Focus::Dispense);
    }

    void keyReplacesTheSelection()
    {
        Window w;
        w.date = daterules::gregorian();
        w.txt[Day] = QStringLiteral("12");
        const Box b = w.type(Day, "3", w.enter(Day));
        QCOMPARE(b.text, QStringLiteral("3"));
        QCOMPARE(w.beeps, 0);
        // Padding dots of a stored short part count as nothing.
        QCOMPARE(w.type(Day, "5", Box{QStringLiteral(".3"), 2, 0}).text, QStringLiteral(".3"));
        QCOMPARE(w.beeps, 1);
        QCOMPARE(w.type(Day, "9", Box{QStringLiteral(".."), 2, 0}).text, QStringLiteral(".."));   // full
    }

    void lettersAndSignsInDayAndYear()
    {
        for (int box : {Day, Year}) {
            Window w;
            w.date = daterules::gregorian();
            QCOMPARE(beepsTyping(w, box, "a"), 1);
            QCOMPARE(beepsTyping(w, box, "é"), 1);
            QCOMPARE(w.txt[box], QString());
            // Below "0": dropped without a sound.
            QCOMPARE(beepsTyping(w, box, "/ -.+"), 0);
            QCOMPARE(w.txt[box], QString());
        }
        Window m;
        QCOMPARE(beepsTyping(m, Month, "/ "), 0);
        QCOMPARE(m.txt[Month], QString());
    }

    void designedStateUntilASwitch()
    {
        Window w;   // the window just opened
        QCOMPARE(w.date.monthMaxLength, 4);
        QCOMPARE(w.date.yearMaxLength, 0);
        QCOMPARE(w.date.monthWidth, 300);
        QCOMPARE(w.date.yearLeft, 5350);
        QCOMPARE(w.date.slashLeft, 5270);
        // Republican limit on the year: beeps at the "8".
        const Result r8 = keyPress(Year, Box{QStringLiteral("1"), 1, 0}, u'8', w);
        QVERIFY(r8.beep);
        QVERIFY(r8.key.isNull());
        QCOMPARE(beepsTyping(w, Day, "31"), 1);
        // A digit in the empty month switches to the Gregorian layout and is typed.
        QCOMPARE(w.type(Month, "5", Box{}).text, QStringLiteral("5"));
        QCOMPARE(w.date.monthMaxLength, 2);
        QCOMPARE(w.date.yearMaxLength, 4);
        QCOMPARE(w.date.yearLeft, 4950 + 300 + 120);
        QCOMPARE(w.date.slashLeft, 4950 + 300 + 120 - 105);
        QCOMPARE(beepsTyping(w, Year, "1815"), 0);
        QCOMPARE(w.txt[Year], QStringLiteral("1815"));
    }

    void monthNameCompletion_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("caret");
        QTest::newRow("b") << "b" << "Brum" << 1;
        QTest::newRow("f") << "f" << "Flor" << 1;
        QTest::newRow("fr") << "fr" << "Frim" << 2;
        QTest::newRow("fru") << "fru" << "Fruc" << 3;
        QTest::newRow("p") << "p" << "Pluv" << 1;
        QTest::newRow("pr") << "pr" << "Prai" << 2;
        QTest::newRow("v") << "v" << "Vend" << 1;
        QTest::newRow("vent") << "vent" << "Vent" << 4;
        QTest::newRow("c") << "c" << "Comp" << 1;
        QTest::newRow("g") << "g" << "Germ" << 1;
        QTest::newRow("capitals typed") << "BRU" << "Brum" << 3;
        QTest::newRow("x refused") << "x" << "" << 0;
        QTest::newRow("fl then x refused") << "flx" << "Flor" << 2;
    }
    void monthNameCompletion()
    {
        QFETCH(QString, keys);
        QFETCH(QString, month);
        QFETCH(int, caret);
        for (DateBoxes start : {daterules::designed(), daterules::gregorian(), daterules::republican()}) {
            Window w;
            w.date = start;
            const Box b = w.type(Month, keys, Box{});
            QCOMPARE(b.text, month);
            QCOMPARE(b.caret, caret);
            QCOMPARE(b.selLength, int(month.size()) - caret);
            QCOMPARE(w.beeps, 0);
            if (!month.isEmpty())
                QCOMPARE(w.date.monthMaxLength, 4);
        }
        QCOMPARE(daterules::republicanMonths().size(), 13);
        QCOMPARE(daterules::completeMonth(QStringLiteral("M")).value_or(QString()), QStringLiteral("Mess"));
        QCOMPARE(daterules::completeMonth(QStringLiteral("N")).value_or(QString()), QStringLiteral("Nivo"));
        QCOMPARE(daterules::completeMonth(QStringLiteral("T")).value_or(QString()), QStringLiteral("Ther"));
    }

    void republicanSwitchMovesTheYearBox()
    {
        Window w;
        w.date = daterules::gregorian();
        w.txt[Year] = QStringLiteral("1815");
        const Box b = w.type(Month, "b", Box{});
        QCOMPARE(b, (Box{QStringLiteral("Brum"), 1, 3}));
        QCOMPARE(w.date.monthMaxLength, 4);
        QCOMPARE(w.date.monthWidth, 470);
        QCOMPARE(w.date.yearMaxLength, 2);
        QCOMPARE(w.date.yearWidth, 300);
        QCOMPARE(w.date.yearLeft, 5540);
        QCOMPARE(w.date.slashLeft, 5435);
        // The year typed before is not touched by the switch, nor by leaving it.
        w.leave(Year, Box{w.txt[Year], 4, 0});
        QCOMPARE(w.txt[Year], QStringLiteral("1815"));
    }

    void republicanMonthTakesNoDigits()
    {
        Window w;
        w.date = daterules::republican();
        w.txt[Month] = QStringLiteral("Brum");
        QCOMPARE(w.type(Month, "5", w.enter(Month)).text, QStringLiteral("Brum"));
        QCOMPARE(w.beeps, 0);
        QCOMPARE(w.date.monthMaxLength, 4);
        // Emptied, a digit switches to the Gregorian layout.
        Box b = w.type(Month, QString(QChar(key::Backspace)), w.enter(Month));
        QCOMPARE(b.text, QString());
        b = w.type(Month, "5", b);
        QCOMPARE(b.text, QStringLiteral("5"));
        QCOMPARE(w.date.monthMaxLength, 2);
    }

    void cutShortMonthIsDroppedOnLeaving()
    {
        Window w;
        w.date = daterules::gregorian();
        Box b = w.type(Month, "brum", Box{});
        QCOMPARE(b, (Box{QStringLiteral("Brum"), 4, 0}));
        QCOMPARE(w.lastFocus, Focus::Year);
        b = w.type(Month, QString(2, QChar(key::Backspace)), b);
        QCOMPARE(b.text, QStringLiteral("Br"));
        w.leave(Month, b);
        QCOMPARE(w.txt[Month], QString());
        QCOMPARE(w.date.monthMaxLength, 2);
        QCOMPARE(w.date.yearLeft, 5370);
    }

    void paddingAndCaseOnLeaving_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("republican");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("day") << Day << false << "5" << "05";
        QTest::newRow("Republican day") << Day << true << "5" << "05";
        QTest::newRow("Gregorian month") << Month << false << "5" << "05";
        QTest::newRow("Republican year") << Year << true << "4" << "04";
        QTest::newRow("Gregorian year") << Year << false << "815" << "0815";
        QTest::newRow("long year after a switch") << Year << true << "1815" << "1815";
        QTest::newRow("month in capitals") << Month << true << "BRUM" << "Brum";
        QTest::newRow("month in lower case") << Month << true << "brum" << "Brum";
        QTest::newRow("empty stays empty") << Day << false << "" << "";
        QTest::newRow("stored padding kept") << Day << false << ".5" << ".5";
    }
    void paddingAndCaseOnLeaving()
    {
        QFETCH(int, box);
        QFETCH(bool, republican);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Window w;
        w.date = republican ? daterules::republican() : daterules::gregorian();
        const Result r = lostFocus(box, Box{text, int(text.size()), 0}, w);
        QCOMPARE(r.box.text, expected);
        QCOMPARE(r.align.value_or(Align::Left), Align::Center);
        QCOMPARE(r.help.value_or(QStringLiteral("kept")), QString());
        QVERIFY(!r.layout);
        // In the designed state the year has no length to pad to.
        Window d;
        QCOMPARE(lostFocus(Year, Box{QStringLiteral("5"), 1, 0}, d).box.text, QStringLiteral("5"));
    }

    void enteringADateBox()
    {
        Window w;
        w.txt[Month] = QStringLiteral("Brum");
        const Result r = gotFocus(Month, Box{QStringLiteral("Brum"), 4, 0}, w);
        QCOMPARE(r.box, (Box{QStringLiteral("Brum"), 0, 4}));
        QCOMPARE(r.align.value_or(Align::Left), Align::Right);
        QCOMPARE(r.help.value_or(QString()), daterules::FormatHelp);
    }

    void eightDigitsInARow()
    {
        Window w;   // designed state: the first month digit switches to Gregorian
        QCOMPARE(typeDate(w, "03051815"), -1);
        QCOMPARE(w.txt[Day], QStringLiteral("03"));
        QCOMPARE(w.txt[Month], QStringLiteral("05"));
        QCOMPARE(w.txt[Year], QStringLiteral("1815"));
        QCOMPARE(w.beeps, 0);
        QCOMPARE(w.lastFocus, Focus::Dispense);
    }

    void republicanDateInARow()
    {
        Window w;
        w.date = daterules::gregorian();
        QCOMPARE(typeDate(w, "15brum04"), -1);
        QCOMPARE(w.txt[Day], QStringLiteral("15"));
        QCOMPARE(w.txt[Month], QStringLiteral("Brum"));
        QCOMPARE(w.txt[Year], QStringLiteral("04"));
        QCOMPARE(w.beeps, 0);
    }

    void yearWithoutLimitNeverMovesOn()
    {
        Window w;   // designed state
        w.type(Year, "14", Box{});
        QCOMPARE(w.lastFocus, Focus::Stay);
        QCOMPARE(keyUp(Year, Box{QStringLiteral("14"), 0, 0}, w).focus, Focus::Stay);
        // Only the caret at the box's length moves on, not a full box with the caret elsewhere.
        w.date = daterules::gregorian();
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 1, 0}, w).focus, Focus::Stay);
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 2, 0}, w).focus, Focus::Month);
    }
};

QTEST_GUILESS_MAIN(TestDateRules)
#include "test_app_daterules.moc"
