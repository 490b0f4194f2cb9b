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
    const char *name;
    double left, top, width, height;
    const char *caption = nullptr;   // nullptr: not checked
};

struct ModeExpect {
    int mode;
    double outerWidth, outerHeight;
    QColor back;
    QList<Expect> shown;
};

QRect px(double l, double t, double w, double h)
{
    return QRect(qRound(l / 15), qRound(t / 15), qRound(w / 15), qRound(h / 15));
}

QList<Expect> spouse(const char *title)
{
    return {{"LblRem0", 75, 75, 3900, 330, title},
            {"LblRem1", 105, 675, 1800, 225, "Date de naissance:"},
            {"LblRem2", 105, 990, 1800, 225, "Age:"},
            {"LblRem3", 105, 1305, 1800, 225, "Lieu de résidence:"},
            {"LblRem4", 105, 1620, 1800, 225, "Profession:"},
            {"LblRem5", 105, 1935, 1800, 225, "Remarques:"},
            {"TxtRqEp0", 1890, 630, 1965, 280}, {"TxtRqEp1", 1890, 945, 1965, 280},
            {"TxtRqEp2", 1890, 1260, 1590, 280}, {"TxtRqEp3", 3525, 1260, 330, 280},
            {"TxtRqEp4", 1890, 1575, 1965, 280}, {"TxtRqEp5", 1890, 1890, 1965, 280},
            {"CmdOk", 1665, 2440, 645, 250, "OK"}};
}

QList<Expect> parents(const char *title)
{
    const double m = 5636.67, mc = 7271.67;
    QList<Expect> e{{"LblRem0", 75, 75, 3900, 330, title},
                    {"LblParents0", 105, 630, 540, 225, "Père:"},
                    {"LblParents1", 3975, 630, 540, 225, "Mère:"},
                    {"Line1", 3855, 630, 15, 2070},
                    {"TxtRqEp0", 1770, 840, 1965, 280}, {"TxtRqEp1", 1770, 1155, 1965, 280},
                    {"TxtRqEp2", 1770, 1470, 1590, 280}, {"TxtRqEp3", 3405, 1470, 330, 280},
                    {"TxtRqEp4", 1770, 1785, 1590, 280}, {"TxtRqEp5", 3405, 1785, 330, 280},
                    {"TxtRqEp6", 1770, 2106.3, 1965, 280}, {"TxtRqEp7", 1770, 2421.3, 1965, 280},
                    {"TxtRqEp8", m, 840, 1965, 280}, {"TxtRqEp9", m, 1155, 1965, 280},
                    {"TxtRqEp10", m, 1470, 1590, 280}, {"TxtRqEp11", mc, 1470, 330, 280},
                    {"TxtRqEp12", m, 1785, 1590, 280}, {"TxtRqEp13", mc, 1785, 330, 280},
                    {"TxtRqEp14", m, 2106.3, 1965, 280}, {"TxtRqEp15", m, 2421.3, 1965, 280},
                    {"CmdOk", 3557.5, 2970, 645, 250, "OK"}};
    const char *rows[] = {"Date de décès:", "Age:", "Lieu d'origine:", "Lieu de résidence:", "Profession:", "Remarques:"};
    const char *father[] = {"LblRem1", "LblRem2", "LblRem3", "LblRem4", "LblRem5", "LblRem6"};
    const char *mother[] = {"LblRem7", "LblRem8", "LblRem9", "LblRem10", "LblRem11", "LblRem12"};
    for (int r = 1; r <= 6; ++r)
        e << Expect{father[r - 1], 105, 560.0 + 315 * r, 1800, 225, rows[r - 1]}
          << Expect{mother[r - 1], 3975, 560.0 + 315 * r, 1800, 225, rows[r - 1]};
    return e;
}

QList<Expect> previousSpouse(const char *title)
{
    return {{"LblRem0", 75, 75, 3900, 330, title},
            {"LblRem1", 105, 665, 1800, 225, "Nom:"},
            {"LblRem2", 105, 980, 1800, 225, "Prénom:"},
            {"LblRem3", 105, 1295, 1800, 225, "Date de décès:"},
            {"LblRem4", 105, 1610, 1800, 225, "Lieu d'origine:"},
            {"LblRem5", 105, 1925, 1800, 225, "Lieu de résidence:"},
            {"LblRem6", 105, 2240, 1800, 225, "Profession:"},
            {"LblRem7", 105, 2555, 1800, 225, "Remarques:"},
            {"TxtRqEp0", 1890, 630, 1965, 280}, {"TxtRqEp1", 1890, 945, 1965, 280},
            {"TxtRqEp2", 1890, 1260, 1965, 280},
            {"TxtRqEp3", 1890, 1577.1, 1590, 280}, {"TxtRqEp4", 3525, 1577.1, 330, 280},
            {"TxtRqEp5", 1890, 1892.1, 1590, 280}, {"TxtRqEp6", 3525, 1892.1, 330, 280},
            {"TxtRqEp7", 1890, 2211.3, 1965, 280}, {"TxtRqEp8", 1890, 2526.3, 1965, 280},
            {"CmdPrecedent", 445, 2975, 1170, 250, "< Précédent"},
            {"CmdSuivant", 2360, 2975, 1170, 250, "Suivant >"},
            {"CmdOk", 1665, 2970, 645, 250, "OK"}};
}

const QColor Yellow(255, 255, 192), Blue(192, 192, 255), Pink(255, 192, 192), Green(192, 255, 192);

QList<ModeExpect> expectations()
{
    return {
        {1, 3975, 2800, Blue, spouse("Remarque Epoux")},
        {2, 3975, 2800, Pink, spouse("Remarque Epouse")},
        {3, 7760, 3330, Pink, parents("Remarque Parents Epouse")},
        {4, 7760, 3330, Blue, parents("Remarque Parents Epoux")},
        {5, 3600, 2355, Yellow,
         {{"LblRem0", 75, 75, 3900, 330, "Contrat de Mariage"},
          {"LblRem1", 105, 675, 1800, 225, "Date du contrat:"},
          {"LblRem2", 105, 990, 1800, 225, "Lieu du contrat:"},
          {"LblRem3", 105, 1305, 1800, 225, "Nom du notaire:"},
          {"TxtRqEp0", 1890, 630, 1590, 280}, {"TxtRqEp1", 1890, 945, 1590, 280}, {"TxtRqEp2", 1890, 1260, 1590, 280},
          {"CmdOk", 1477.5, 1995, 645, 250, "OK"}}},
        {6, 3360, 1400, Yellow,
         {{"LblRem0", 75, 75, 3900, 330, "Dispense"},
          {"LblRem1", 105, 675, 1800, 225, "Degré de parenté:"},
          {"TxtRqEp0", 1690, 630, 1590, 280},
          {"CmdOk", 1357.5, 1040, 645, 250, "OK"}}},
        {7, 3600, 1855, Yellow,
         {{"LblRem0", 75, 75, 3900, 330, "Mariage"},
          {"LblRem1", 105, 675, 1800, 225, "Date du mariage:"},
          {"LblRem2", 105, 990, 1800, 225, "Lieu du mariage:"},
          {"TxtRqEp0", 1890, 630, 1590, 280}, {"TxtRqEp1", 1890, 945, 1590, 280},
          {"CmdOk", 1477.5, 1495, 645, 250, "OK"}}},
        {8, 3975, 4255, Yellow,
         {{"LblRem0", 75, 75, 3900, 330, "Témoin 1"},
          {"LblRem1", 105, 675, 1800, 225, "Nom:"}, {"LblRem2", 105, 990, 1800, 225, "Prénom:"},
          {"LblRem3", 105, 1305, 1800, 225, "Sexe:"}, {"LblRem4", 105, 1620, 1800, 225, "Age:"},
          {"LblRem5", 105, 1935, 1800, 225, "Lieu d'origine:"}, {"LblRem6", 105, 2250, 1800, 225, "Lieu de résidence:"},
          {"LblRem7", 105, 2565, 1800, 225, "Profession:"}, {"LblRem8", 105, 2880, 1800, 225, "Lien de parenté:"},
          {"LblRem9", 105, 3510, 1800, 225, "Remarques:"},
          {"TxtRqEp0", 1890, 630, 1965, 280}, {"TxtRqEp1", 1890, 945, 1965, 280},
          {"Frame1", 1890, 1307.25, 1485, 225},
          {"TxtRqEp2", 1890, 1575, 1965, 280},
          {"TxtRqEp3", 1890, 1890, 1590, 280}, {"TxtRqEp4", 3525, 1890, 330, 280},
          {"TxtRqEp5", 1890, 2205, 1590, 280}, {"TxtRqEp6", 3525, 2205, 330, 280},
          {"TxtRqEp7", 1890, 2520, 1965, 280}, {"TxtRqEp8", 1890, 2835, 1965, 280},
          {"Frame2", 1890, 3197.25, 1695, 225},
          {"TxtRqEp9", 1890, 3465, 1965, 280},
          {"CmdPrecedent", 445, 3895, 1170, 250, "< Précédent"},
          {"CmdSuivant", 2360, 3895, 1170, 250, "Suivant >"},
          {"CmdOk", 1665, 3895, 645, 250, "OK"}}},
        {9, 3975, 3330, Blue, previousSpouse("Dernier Conjoint Epoux")},
        {10, 3975, 3330, Pink, previousSpouse("Dernier Conjoint Epouse")},
        {11, 2860, 2000, Green,
         {{"LblRem0", 75, 75, 3900, 330, "Paroisses:"},
          {"TxtRqEp0", 100, 400, 1590, 280},
          {"LstParoisse", 100, 800, 1590, 810},
          {"CmdPrecedent", 1740, 440, 780, 250, "Ajouter"},
          {"CmdSuivant", 1740, 1040, 980, 250, "Supprimer"},
          {"CmdOk", 1107.5, 1640, 645, 250, "OK"}}},
        {12, 3200, 3000, Green,
         {{"LblRem0", 75, 75, 3900, 330, "Propriétés de la table"},
          {"LblRem1", 105, 675, 1800, 225, "Commune:"}, {"LblRem2", 105, 990, 1800, 225, "Relevée par:"},
          {"LblRem3", 105, 1305, 1800, 225, "Date du relevé:"}, {"LblRem4", 105, 1620, 1800, 225, "Saisie par:"},
          {"LblRem5", 105, 1935, 1800, 225, "Vérifiée par:"}, {"LblRem6", 105, 2250, 1800, 225, "Nom de l'étude:"},
          {"TxtRqEp0", 1500, 630, 1590, 280}, {"TxtRqEp1", 1500, 945, 1590, 280}, {"TxtRqEp2", 1500, 1260, 1590, 280},
          {"TxtRqEp3", 1500, 1575, 1590, 280}, {"TxtRqEp4", 1500, 1890, 1590, 280}, {"TxtRqEp5", 1500, 2205, 1590, 280},
          {"CmdPrecedent", 75, 2640, 800, 250, "Sources"},
          {"CmdOk", 1277.5, 2640, 645, 250, "OK"}}},
        {13, 3795, 2405, QColor(),
         {{"Picture1", 105, 105, 2400, 510},
          {"LblRem5", 105, 735, 2025, 225, "Mariage de l'Orvane - KRV"},
          {"LblRem1", 105, 1050, 1800, 225, "Version " VELDER_VERSION},
          {"LblRem2", 105, 1365, 3270, 225},
          {"LblRem3", 105, 1785, 1800, 225, "Contact:"},
          {"LblRem4", 735, 1785, 1800, 225},
          {"CmdOk", 1575, 2045, 645, 250, "OK"}}},
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
    void codeBoxesHoldTwoCharacters();
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
        QVERIFY2(c, e.name);
        QVERIFY2(c->isVisible(), e.name);
        QCOMPARE(c->parentWidget(), w.client);
        QCOMPARE(c->geometry(), px(e.left, e.top, e.width, e.height));
        if (e.caption)
            QCOMPARE(captionOf(c), QString::fromUtf8(e.caption));
        if (auto *l = qobject_cast<QLabel *>(c); l && ex.back.isValid())
            QCOMPARE(l->palette().color(QPalette::Window), back);
        shown << e.name;
    }
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
    {
        FrmRem w(entry, table);
        w.prepare(WifeParents);
        QVERIFY(w.LblRem[0]->font().bold() && w.LblRem[0]->font().italic());
        QCOMPARE(w.LblRem[0]->font().pointSizeF(), 12.0);
        QVERIFY(w.LblRem[3]->font().bold());
        QCOMPARE(w.LblRem[3]->font().pointSizeF(), 8.25);
        QVERIFY(w.LblParents[0]->font().underline());
        QCOMPARE(w.LblParents[1]->palette().color(QPalette::Window), QColor(255, 192, 192));
        w.CmdOk_Click();
    }
    {
        FrmRem w(entry, table);
        w.prepare(About);
        QVERIFY(w.LblRem[1]->font().bold());
        QVERIFY(!w.LblRem[2]->font().bold());
        QCOMPARE(w.LblRem[2]->font().pointSizeF(), 10.0);
        QVERIFY(w.LblRem[2]->text().startsWith("Développé par "));
        QVERIFY(!w.LblRem[4]->font().bold());
        QCOMPARE(w.LblRem[4]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(w.LblRem[4]->text(), ContactAddress);
        w.CmdOk_Click();
    }
    {
        // The witness frames keep the light yellow.
        FrmRem w(entry, table);
        w.prepare(Witnesses);
        QCOMPARE(w.Frame1->palette().color(QPalette::Window), QColor(255, 255, 192));
        QCOMPARE(w.Option1[0]->text(), QString("Epoux"));
        QCOMPARE(w.Option1[1]->geometry(), px(840, 0, 855, 225));
        QCOMPARE(w.Option2[1]->geometry(), px(840, 0, 435, 225));
        w.CmdOk_Click();
    }
}

void TestDetailLayout::codeBoxesHoldTwoCharacters()
{
    const QList<QPair<int, QList<int>>> codes{{1, {3}}, {2, {3}}, {3, {3, 5, 11, 13}}, {4, {3, 5, 11, 13}},
                                             {8, {4, 6}}, {9, {4, 6}}, {10, {4, 6}}};
    EntryState entry;
    transfer::showNewRecord(entry);
    TableStore table;
    for (const auto &[mode, boxes] : codes) {
        FrmRem w(entry, table);
        w.prepare(mode);
        for (int i = 0; i < BoxCount; ++i)
            QCOMPARE(w.TxtRqEp[i]->limit(), boxes.contains(i) ? 2 : 0);
        w.CmdOk_Click();
    }
}

QTEST_MAIN(TestDetailLayout)
#include "test_detail_layout.moc"
