#include "app/daterules.h"
#include "ruleshost.h"

#include <QTest>

using namespace fieldrules;
using ruleshost::Window;

namespace {
constexpr int Day = 3, Month = 4, Year = 5;
enum Layout { Designed, Gregorian, Republican };

Window windowIn(int l)
{
    Window w;
    w.date = l == Gregorian ? daterules::gregorian() : l == Republican ? daterules::republican() : daterules::designed();
    return w;
}

// Month limit and width, year limit, width and left, the second "/" left.
QString boxes(const DateBoxes &d)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6").arg(d.monthMaxLength).arg(d.monthWidth).arg(d.yearMaxLength)
        .arg(d.yearWidth).arg(d.yearLeft).arg(d.slashLeft);
}

// Types keys into the date from the day box on, following the focus as the
// window does (leaving a box completes it); returns the box holding the focus
// at the end, or -1 once it went on to the dispensation box.
int typeDate(Window &w, const QString &keys)
{
    int at = Day;
    Box b = w.enter(at);
    for (QChar k : keys) {
        w.lastFocus = Focus::Stay;
        b = w.key(at, b, k);
        const Focus next = w.lastFocus;
        if (next == Focus::Stay)
            continue;
        w.leave(at, b);
        if (next == Focus::Dispense)
            return -1;
        at = next == Focus::Month ? Month : Year;
        b = w.enter(at);
    }
    return at;
}
} // namespace

class TestDateRules : public QObject {
    Q_OBJECT
private slots:
    // Keys typed into a box (empty unless given): what it holds, how many beeps, where the focus goes.
    void keysInOneBox()
    {
        struct Case { int layout, box; QString keys, text; int beeps; Focus focus; Box start = {}; };
        const Focus stay = Focus::Stay;
        const Case cases[] = {
            {Gregorian, Day, "32", "3", 1, stay},
            {Gregorian, Day, "31", "31", 0, Focus::Month},
            {Gregorian, Day, "00", "00", 0, Focus::Month},   // no lower limit
            {Gregorian, Month, "13", "1", 1, stay},
            {Gregorian, Year, "1991", "199", 1, stay},
            {Gregorian, Year, "1990", "1990", 0, Focus::Dispense},
            {Republican, Day, "31", "3", 1, stay},
            {Republican, Day, "30", "30", 0, Focus::Month},
            {Republican, Year, "15", "1", 1, stay},
            {Republican, Year, "14", "14", 0, Focus::Dispense},
            {Designed, Day, "31", "3", 1, stay},             // the window just opened: Republican limits
            {Designed, Year, "18", "1", 1, stay},
            {Gregorian, Day, "aé", "", 2, stay},             // letters: a beep
            {Gregorian, Year, "aé", "", 2, stay},
            {Gregorian, Day, "/ -.+", "", 0, stay},          // signs below "0": dropped silently
            {Designed, Month, "/ ", "", 0, stay},
            {Gregorian, Day, "3", "3", 0, stay, {"12", 0, 2}},   // the key replaces the selection
            {Gregorian, Day, "5", ".3", 1, Focus::Month, {".3", 2, 0}},   // padding dots of a short part count as nothing
        };
        for (const Case &c : cases) {
            Window w = windowIn(c.layout);
            QCOMPARE(w.type(c.box, c.keys, c.start).text, c.text);
            QCOMPARE(w.beeps, c.beeps);
            QCOMPARE(w.lastFocus, c.focus);
        }
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
        QTest::newRow("capitals typed") << "BRU" << "Brum" << 3;
        QTest::newRow("x refused") << "x" << "" << 0;
        QTest::newRow("fl then x refused") << "flx" << "Flor" << 2;
    }
    void monthNameCompletion()
    {
        QFETCH(QString, keys);
        QFETCH(QString, month);
        QFETCH(int, caret);
        for (int l : {Designed, Gregorian, Republican}) {
            Window w = windowIn(l);
            const Box b = w.type(Month, keys, Box{});
            QCOMPARE(b, (Box{month, caret, int(month.size()) - caret}));
            QCOMPARE(w.beeps, 0);
            if (!month.isEmpty())
                QCOMPARE(w.date.monthMaxLength, 4);
        }
    }

    void republicanMonthSwitchesAndIsEditedBack()
    {
        Window w = windowIn(Gregorian);
        w.txt[Year] = QStringLiteral("1815");
        QCOMPARE(w.type(Month, "b", Box{}), (Box{QStringLiteral("Brum"), 1, 3}));
        QCOMPARE(boxes(w.date), QStringLiteral("4 470 2 300 5540 5435"));
        // The year typed before is not touched by the switch, nor by leaving it.
        w.leave(Year, Box{w.txt[Year], 4, 0});
        QCOMPARE(w.txt[Year], QStringLiteral("1815"));
        QCOMPARE(w.type(Month, "5", w.enter(Month)).text, QStringLiteral("Brum"));   // no digits
        // Emptied, a digit switches to the Gregorian layout.
        Box b = w.type(Month, QString(QChar(key::Backspace)) + u'5', w.enter(Month));
        QCOMPARE(b.text, QStringLiteral("5"));
        QCOMPARE(w.date.monthMaxLength, 2);
        // A month name cut short is dropped on leaving, and the Gregorian layout comes back.
        b = w.type(Month, QStringLiteral("brum") + QString(2, QChar(key::Backspace)), Box{});
        QCOMPARE(b.text, QStringLiteral("Br"));
        w.leave(Month, b);
        QCOMPARE(w.txt[Month], QString());
        QCOMPARE(boxes(w.date), QStringLiteral("2 300 4 470 5370 5265"));
        QCOMPARE(w.beeps, 0);
    }

    void paddingAndCaseOnLeaving()
    {
        struct Case { int layout, box; QString text, expected; };
        const Case cases[] = {
            {Gregorian, Day, "5", "05"}, {Republican, Year, "4", "04"}, {Gregorian, Year, "815", "0815"},
            {Designed, Year, "5", "5"},                  // no length to pad to
            {Republican, Month, "BRUM", "Brum"}, {Gregorian, Day, "", ""},
            {Gregorian, Day, ".5", ".5"},                // stored padding kept
        };
        for (const Case &c : cases) {
            Window w = windowIn(c.layout);
            const Result r = lostFocus(c.box, Box{c.text, int(c.text.size()), 0}, w);
            QCOMPARE(r.box.text, c.expected);
            QCOMPARE(r.align.value_or(Align::Left), Align::Center);
            QCOMPARE(r.help.value_or(QStringLiteral("kept")), QString());
            QVERIFY(!r.layout);
        }
    }

    void wholeDateInARow()
    {
        Window w;   // the window just opened: the first month digit switches to Gregorian
        QCOMPARE(boxes(w.date), QStringLiteral("4 300 0 470 5350 5270"));
        QCOMPARE(typeDate(w, "03051815"), -1);
        QCOMPARE((QStringList{w.txt[Day], w.txt[Month], w.txt[Year]}), (QStringList{"03", "05", "1815"}));
        QCOMPARE(boxes(w.date), QStringLiteral("2 300 4 470 5370 5265"));
        Window r = windowIn(Gregorian);
        QCOMPARE(typeDate(r, "15brum04"), -1);
        QCOMPARE((QStringList{r.txt[Day], r.txt[Month], r.txt[Year]}), (QStringList{"15", "Brum", "04"}));
        QCOMPARE(w.beeps + r.beeps, 0);
    }

    void movesOnOnlyWithTheCaretAtTheLength()
    {
        Window w;   // designed state: the year has no length
        QCOMPARE(keyUp(Year, Box{QStringLiteral("14"), 2, 0}, w).focus, Focus::Stay);
        w.date = daterules::gregorian();
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 1, 0}, w).focus, Focus::Stay);
        QCOMPARE(keyUp(Day, Box{QStringLiteral("12"), 2, 0}, w).focus, Focus::Month);
    }
};

QTEST_GUILESS_MAIN(TestDateRules)
#include "test_app_daterules.moc"
