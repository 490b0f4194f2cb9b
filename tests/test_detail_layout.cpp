// The detail window's layout, every mode, against the layout written by hand in
// tests/data/detail_layout.txt; then the real window placing its controls so.
#include "detail/detailwindow.h"
#include "detail/frmrem.h"
#include "pagedump.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace detail;

namespace {

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
    const std::pair<QColor, const char *> names[] = {{LightYellow, "yellow"}, {LightBlue, "blue"}, {LightPink, "pink"},
        {LightGreen, "green"}, {LinkBlue, "link"}, {infoBackColour(), "info"}};
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
    if (it.maxLength)
        f << QString("max%1").arg(it.maxLength);
    if (it.back.isValid())
        f << "on:" + colourName(it.back);
    if (it.fore.isValid())
        f << "fg:" + colourName(it.fore);
    const QString style = QString(it.bold ? "b" : "") + (it.italic ? "i" : "") + (it.underline ? "u" : "")
                          + (it.pointSize != 8.25 ? QString::number(it.pointSize) : QString());
    if (!style.isEmpty())
        f << "font:" + style;
    if (!it.caption.isEmpty())
        f << '[' + it.caption + ']';
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

} // namespace

class TestDetailLayout : public QObject {
    Q_OBJECT
private slots:
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
            w.prepare(mode);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w) && (w.windowFlags() & Qt::FramelessWindowHint));
            QCOMPARE(w.geometry().size(), px(0, 0, l.outerWidth, l.outerHeight).size());
            QCOMPARE(w.client->geometry(), QRect(1, 1, w.width() - 2, w.height() - 2));   // a one-pixel border
            QCOMPARE(w.client->palette().color(QPalette::Window), l.back);
            for (const Control &c : controls(l)) {
                const Item &it = *c.item;
                auto *wd = w.findChild<QWidget *>(c.name);
                QVERIFY2(wd && wd->isVisible() == it.visible, qPrintable(QString("%1 in mode %2").arg(c.name).arg(mode)));
                QVERIFY(!it.visible || (wd->parentWidget() == w.client && wd->geometry() == px(it.left, it.top, it.width, it.height)));
                if (auto *b = qobject_cast<QPushButton *>(wd))
                    QCOMPARE(b->text(), it.caption);
                if (auto *box = qobject_cast<DetailBox *>(wd))
                    QCOMPARE(box->limit(), it.maxLength);
                if (auto *lab = qobject_cast<QLabel *>(wd); lab && it.visible) {
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
            QCOMPARE(w.Frame1->palette().color(QPalette::Window), LightYellow);
        }
    }
};

QTEST_MAIN(TestDetailLayout)
#include "test_detail_layout.moc"
