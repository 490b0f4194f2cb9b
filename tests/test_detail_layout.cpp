// The detail window opened for each mode: every control the mode shows stands
// where the layout tables put it (twips), with its caption; every other control
// is hidden; window size, colours and fonts.
#include "detail/detailwindow.h"
#include "detail/frmrem.h"
#include "testutil.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace detail;

namespace {

struct Expect {
    QString name;
    double left, top, width, height;
    const char *caption = nullptr;   // nullptr: not checked
};

struct ModeExpect {
    int mode;
    double outerWidth, outerHeight;
    QColor back;
    QList<Expect> shown;
    QList<int> codeBoxes;   // the boxes limited to two characters
};

QRect px(double l, double t, double w, double h)
{
    return QRect(qRound(l / 15), qRound(t / 15), qRound(w / 15), qRound(h / 15));
}

// A column of labels LblRem(first...) one row (315 twips) apart, 1800 x 225.
QList<Expect> labels(int first, double left, double top, const QList<const char *> &captions)
{
    QList<Expect> e;
    for (int i = 0; i < captions.size(); ++i)
        e << Expect{QString("LblRem%1").arg(first + i), left, top + 315 * i, 1800, 225, captions[i]};
    return e;
}

// Boxes TxtRqEp(first...) given as {left, top, width}, 280 high.
QList<Expect> boxes(int first, const QList<std::array<double, 3>> &geometry)
{
    QList<Expect> e;
    for (int i = 0; i < geometry.size(); ++i)
        e << Expect{QString("TxtRqEp%1").arg(first + i), geometry[i][0], geometry[i][1], geometry[i][2], 280};
    return e;
}

Expect title(const char *caption) { return {"LblRem0", 75, 75, 3900, 330, caption}; }
Expect ok(double left, double top) { return {"CmdOk", left, top, 645, 250, "OK"}; }

QList<Expect> spouse(const char *caption)
{
    return QList<Expect>{title(caption), ok(1665, 2440)}
           + labels(1, 105, 675, {"Date de naissance:", "Age:", "Lieu de résidence:", "Profession:", "Remarques:"})
           + boxes(0, {{1890, 630, 1965}, {1890, 945, 1965}, {1890, 1260, 1590}, {3525, 1260, 330},
                       {1890, 1575, 1965}, {1890, 1890, 1965}});
}

QList<Expect> parents(const char *caption)
{
    const double m = 5636.67, mc = 7271.67;
    const QList<const char *> rows{"Date de décès:", "Age:", "Lieu d'origine:", "Lieu de résidence:", "Profession:", "Remarques:"};
    return QList<Expect>{title(caption), ok(3557.5, 2970), {"LblParents0", 105, 630, 540, 225, "Père:"},
                         {"LblParents1", 3975, 630, 540, 225, "Mère:"}, {"Line1", 3855, 630, 15, 2070}}
           + labels(1, 105, 875, rows) + labels(7, 3975, 875, rows)
           + boxes(0, {{1770, 840, 1965}, {1770, 1155, 1965}, {1770, 1470, 1590}, {3405, 1470, 330},
                       {1770, 1785, 1590}, {3405, 1785, 330}, {1770, 2106.3, 1965}, {1770, 2421.3, 1965},
                       {m, 840, 1965}, {m, 1155, 1965}, {m, 1470, 1590}, {mc, 1470, 330},
                       {m, 1785, 1590}, {mc, 1785, 330}, {m, 2106.3, 1965}, {m, 2421.3, 1965}});
}

QList<Expect> pagers(double top)
{
    return {{"CmdPrecedent", 445, top, 1170, 250, "< Précédent"}, {"CmdSuivant", 2360, top, 1170, 250, "Suivant >"}};
}

QList<Expect> previousSpouse(const char *caption)
{
    return QList<Expect>{title(caption), ok(1665, 2970)} + pagers(2975)
           + labels(1, 105, 665, {"Nom:", "Prénom:", "Date de décès:", "Lieu d'origine:", "Lieu de résidence:",
                                  "Profession:", "Remarques:"})
           + boxes(0, {{1890, 630, 1965}, {1890, 945, 1965}, {1890, 1260, 1965}, {1890, 1577.1, 1590},
                       {3525, 1577.1, 330}, {1890, 1892.1, 1590}, {3525, 1892.1, 330}, {1890, 2211.3, 1965},
                       {1890, 2526.3, 1965}});
}

const QColor Yellow(255, 255, 192), Blue(192, 192, 255), Pink(255, 192, 192), Green(192, 255, 192);

QList<ModeExpect> expectations()
{
    const QList<int> spouseCodes{3}, parentCodes{3, 5, 11, 13}, personCodes{4, 6};
    return {
        {1, 3975, 2800, Blue, spouse("Remarque Epoux"), spouseCodes},
        {2, 3975, 2800, Pink, spouse("Remarque Epouse"), spouseCodes},
        {3, 7760, 3330, Pink, parents("Remarque Parents Epouse"), parentCodes},
        {4, 7760, 3330, Blue, parents("Remarque Parents Epoux"), parentCodes},
        {5, 3600, 2355, Yellow,
         QList<Expect>{title("Contrat de Mariage"), ok(1477.5, 1995)}
             + labels(1, 105, 675, {"Date du contrat:", "Lieu du contrat:", "Nom du notaire:"})
             + boxes(0, {{1890, 630, 1590}, {1890, 945, 1590}, {1890, 1260, 1590}})},
        {6, 3360, 1400, Yellow,
         QList<Expect>{title("Dispense"), ok(1357.5, 1040)} + labels(1, 105, 675, {"Degré de parenté:"})
             + boxes(0, {{1690, 630, 1590}})},
        {7, 3600, 1855, Yellow,
         QList<Expect>{title("Mariage"), ok(1477.5, 1495)} + labels(1, 105, 675, {"Date du mariage:", "Lieu du mariage:"})
             + boxes(0, {{1890, 630, 1590}, {1890, 945, 1590}})},
        {8, 3975, 4255, Yellow,
         QList<Expect>{title("Témoin 1"), ok(1665, 3895), {"Frame1", 1890, 1307.25, 1485, 225},
                       {"Frame2", 1890, 3197.25, 1695, 225}, {"LblRem9", 105, 3510, 1800, 225, "Remarques:"}}
             + pagers(3895)
             + labels(1, 105, 675, {"Nom:", "Prénom:", "Sexe:", "Age:", "Lieu d'origine:", "Lieu de résidence:",
                                    "Profession:", "Lien de parenté:"})
             + boxes(0, {{1890, 630, 1965}, {1890, 945, 1965}, {1890, 1575, 1965}, {1890, 1890, 1590},
                         {3525, 1890, 330}, {1890, 2205, 1590}, {3525, 2205, 330}, {1890, 2520, 1965},
                         {1890, 2835, 1965}, {1890, 3465, 1965}}),
         personCodes},
        {9, 3975, 3330, Blue, previousSpouse("Dernier Conjoint Epoux"), personCodes},
        {10, 3975, 3330, Pink, previousSpouse("Dernier Conjoint Epouse"), personCodes},
        {11, 2860, 2000, Green,
         {title("Paroisses:"), ok(1107.5, 1640), {"TxtRqEp0", 100, 400, 1590, 280},
          {"LstParoisse", 100, 800, 1590, 810}, {"CmdPrecedent", 1740, 440, 780, 250, "Ajouter"},
          {"CmdSuivant", 1740, 1040, 980, 250, "Supprimer"}}},
        {12, 3200, 3000, Green,
         QList<Expect>{title("Propriétés de la table"), ok(1277.5, 2640), {"CmdPrecedent", 75, 2640, 800, 250, "Sources"}}
             + labels(1, 105, 675, {"Commune:", "Relevée par:", "Date du relevé:", "Saisie par:", "Vérifiée par:",
                                    "Nom de l'étude:"})
             + boxes(0, {{1500, 630, 1590}, {1500, 945, 1590}, {1500, 1260, 1590}, {1500, 1575, 1590},
                         {1500, 1890, 1590}, {1500, 2205, 1590}})},
        {13, 3795, 2405, QColor(),
         {{"Picture1", 105, 105, 2400, 510}, {"LblRem5", 105, 735, 2025, 225, "Mariage de l'Orvane - KRV"},
          {"LblRem1", 105, 1050, 1800, 225, "Version " VELDER_VERSION}, {"LblRem2", 105, 1365, 3270, 225},
          {"LblRem3", 105, 1785, 1800, 225, "Contact:"}, {"LblRem4", 735, 1785, 1800, 225}, ok(1575, 2045)}},
    };
}

QString captionOf(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QPushButton *>(w))
        return b->text();
    return {};
}

QStringList controlNames()
{
    QStringList n{"Picture1", "Frame1", "Frame2", "CmdPrecedent", "CmdSuivant", "CmdOk", "LstParoisse",
                  "LblParents0", "LblParents1", "Line1"};
    for (int i = 0; i < LabelCount; ++i)
        n << QString("LblRem%1").arg(i);
    for (int i = 0; i < BoxCount; ++i)
        n << QString("TxtRqEp%1").arg(i);
    return n;
}

} // namespace

class TestDetailLayout : public QObject {
    Q_OBJECT
private slots:
    void eachMode_data();
    void eachMode();
    void fontsAndColours();
};

void TestDetailLayout::eachMode_data()
{
    QTest::addColumn<int>("index");
    const QList<ModeExpect> all = expectations();
    for (int i = 0; i < all.size(); ++i)
        QTest::addRow("mode %d", all[i].mode) << i;
}

void TestDetailLayout::eachMode()
{
    QFETCH(int, index);
    const ModeExpect ex = expectations().at(index);
    EntryState entry;
    transfer::showNewRecord(entry);
    TableStore table;
    FrmRem w(entry, table);
    w.prepare(ex.mode);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QCOMPARE(w.size(), px(0, 0, ex.outerWidth, ex.outerHeight).size());
    QCOMPARE(w.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    // The client area lies inside a one-pixel border.
    QCOMPARE(w.client->geometry(), QRect(1, 1, w.width() - 2, w.height() - 2));
    const QColor back = ex.back.isValid() ? ex.back : QGuiApplication::palette().color(QPalette::ToolTipBase);
    QCOMPARE(w.client->palette().color(QPalette::Window), back);

    QStringList shown;
    for (const Expect &e : ex.shown) {
        auto *c = w.findChild<QWidget *>(e.name);
        QVERIFY2(c && c->isVisible(), qPrintable(e.name));
        QCOMPARE(c->parentWidget(), w.client);
        QCOMPARE(c->geometry(), px(e.left, e.top, e.width, e.height));
        if (e.caption)
            QCOMPARE(captionOf(c), QString::fromUtf8(e.caption));
        if (auto *l = qobject_cast<QLabel *>(c); l && ex.back.isValid())
            QCOMPARE(l->palette().color(QPalette::Window), back);
        shown << e.name;
    }
    for (int i = 0; i < BoxCount; ++i)
        QCOMPARE(w.TxtRqEp[i]->limit(), ex.codeBoxes.contains(i) ? 2 : 0);
    for (const QString &name : controlNames()) {
        if (shown.contains(name))
            continue;
        auto *c = w.findChild<QWidget *>(name);
        QVERIFY2(c, qPrintable(name));
        QVERIFY2(!c->isVisible(), qPrintable(name + " should be hidden"));
    }
    w.CmdOk_Click();
}

void TestDetailLayout::fontsAndColours()
{
    EntryState entry;
    TableStore table;
    FrmRem parents(entry, table), about(entry, table), witness(entry, table);
    parents.prepare(WifeParents);
    about.prepare(About);
    witness.prepare(Witnesses);
    QVERIFY(parents.LblRem[0]->font().bold() && parents.LblRem[0]->font().italic());
    QCOMPARE(parents.LblRem[0]->font().pointSizeF(), 12.0);
    QVERIFY(parents.LblRem[3]->font().bold());
    QVERIFY(parents.LblParents[0]->font().underline());
    QVERIFY(about.LblRem[1]->font().bold() && !about.LblRem[2]->font().bold() && !about.LblRem[4]->font().bold());
    QCOMPARE(about.LblRem[2]->font().pointSizeF(), 10.0);
    QVERIFY(about.LblRem[2]->text().startsWith("Développé par "));   // the author is ours
    QCOMPARE(about.LblRem[4]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(about.LblRem[4]->text(), ContactAddress);
    QCOMPARE(witness.Frame1->palette().color(QPalette::Window), Yellow);   // the frames keep the light yellow
    QCOMPARE(witness.Option1[0]->text(), QString("Epoux"));
    QCOMPARE(witness.Option1[1]->geometry(), px(840, 0, 855, 225));
    QCOMPARE(witness.Option2[1]->geometry(), px(840, 0, 435, 225));
    for (FrmRem *w : {&parents, &about, &witness})
        w->CmdOk_Click();
    // The paging buttons as created, before a mode moves them beside OK.
    const Layout base = baseLayout();
    QCOMPARE(QPointF(base.prev.left, base.prev.top), QPointF(1575, 1575));
    QCOMPARE(QPointF(base.next.left, base.next.top), QPointF(3780, 1575));
}

QTEST_MAIN(TestDetailLayout)
#include "test_detail_layout.moc"
