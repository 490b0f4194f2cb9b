#include "print/recordcard.h"
#include "testutil.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace testutil;
using print::TextOp;
using print::Font;
using print::Page;

namespace {

EntryState entryOf(const QString &line, const QString &number = QStringLiteral("12"))
{
    EntryState s;
    const bool ok = transfer::showLine(line, s);
    Q_ASSERT(ok);
    s.recordNumber = number;
    return s;
}

EntryState emptyEntry()
{
    EntryState s;
    transfer::showNewRecord(s);
    s.actLabel = QStringLiteral("Mariage");
    s.recordNumber = QStringLiteral("3");
    for (int g = 0; g < record::GroupCount; ++g)
        s.groups[g] = record::emptyGroup(g);
    return s;
}

const TextOp *textAt(const Page &p, double x, double y)
{
    for (const auto &t : p.texts)
        if (qAbs(t.x - x) < 0.01 && qAbs(t.y - y) < 0.01)
            return &t;
    return nullptr;
}

const TextOp *textStarting(const Page &p, const QString &start)
{
    for (const auto &t : p.texts)
        if (t.text.startsWith(start))
            return &t;
    return nullptr;
}

QString textOf(const Page &p, double x, double y)
{
    const TextOp *op = textAt(p, x, y);
    return op ? op->text : QStringLiteral("<nothing at %1,%2>").arg(x).arg(y);
}

bool hasLine(const Page &p, double x1, double y1, double x2, double y2)
{
    for (const auto &l : p.lines)
        if (qAbs(l.x1 - x1) < 0.01 && qAbs(l.y1 - y1) < 0.01 && qAbs(l.x2 - x2) < 0.01 && qAbs(l.y2 - y2) < 0.01)
            return true;
    return false;
}

const QString Path = QStringLiteral("/srv/tables/Valbrune.krv");

} // namespace

class TestPrintCard : public QObject {
    Q_OBJECT
    print::FontMeasure m;

private slots:
    void fittingCutsAtTheEndFiftyShortOfTheLimit()
    {
        const Font f{QStringLiteral("Arial"), 10};
        // Real widths: 10 points of "M" is about 166 twips in Arial.
        QVERIFY(m.width("M", f) > 140 && m.width("M", f) < 190);
        QVERIFY(m.width("tout", Font{"Arial", 10, true}) > m.width("tout", f));

        const QString text = QStringLiteral("Saint-Aubin-des-Landes-sur-Orvane");
        const double w = m.width(text, f);
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 50), text);          // fits exactly
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 49), text.chopped(1));
        const QString shorter = m.fit(text, f, 1000, 3000);
        QVERIFY(text.startsWith(shorter));
        QVERIFY(1000 + m.width(shorter, f) <= 3000 - 50);
        QVERIFY(1000 + m.width(text.left(shorter.size() + 1), f) > 3000 - 50);
        QCOMPARE(m.fit(text, f, 2960, 3000), QString());
    }

    void measuredWidthsAreTheDrawnWidths()
    {
        // Drawn on a 2381-pixel-wide image (5 twips a pixel), the text ends where measured.
        const Font f{"Arial", 12, true};
        const QString text = QStringLiteral("KERDUEL Yves Marie, Tréfléan");
        Page page;
        page.text(1000, 1000, text, f);
        QImage img(2381, 3368, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        print::drawPageOn(painter, page, img.width(), img.height());
        painter.end();
        int left = img.width(), right = -1, top = img.height();
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                    top = qMin(top, y);
                }
        QVERIFY(qAbs(left - 200) <= 3);
        // The ink stops a side bearing (a few pixels) short of the measured advance.
        const double end = (1000 + m.width(text, f)) / 5;
        QVERIFY2(right <= end + 1 && right >= end - 6, qPrintable(QString("ink ends at %1, measured %2").arg(right).arg(end)));
        QVERIFY(top >= 200 && top <= 215);   // the top-left corner is the position given
    }

    void emptyRecordPrintsFramesTitlesAndBareLabels()
    {
        const print::PageDoc doc = print::recordCard(emptyEntry(), Path, m);
        QCOMPARE(doc.pages.size(), 1);
        const Page &p = doc.pages.at(0);
        const QStringList texts = p.textList();
        for (const char *t : {"Informations sur l'acte", "Epoux", "Epouse", "Témoins", "Contrat de Mariage", "Notes",
                              "Date du contrat: ", "Nom du notaire: ", "Cote: "})
            QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
        QCOMPARE(texts.count("Père:"), 2);
        QCOMPARE(texts.count("Ex-Conjoint2:"), 2);
        QCOMPARE(texts.count("Né à: , le "), 2);
        QCOMPARE(texts.count("Age: "), 8);                 // four parents, four witnesses
        QCOMPARE(texts.count("Avec: Epouse"), 4);
        for (const auto &t : texts) {
            QVERIFY2(!t.contains(" ans"), qPrintable(t));
            QVERIFY2(!t.contains('('), qPrintable(t));
            QVERIFY2(!t.startsWith("Dispense"), qPrintable(t));
        }
        QCOMPARE(textOf(p, 800, 15600),
                 QStringLiteral("Fiche n° 3 du fichier /srv/tables/Valbrune.krv imprimée avec le logiciel Velder - KRV"));

        // Frames: the spouses' divider, a witnesses' divider, the contract box one
        // line taller for a marriage.
        QVERIFY(hasLine(p, 5953.5, 1700, 5953.5, 9100));
        QVERIFY(hasLine(p, 3326.75, 9750, 3326.75, 11900));
        QVERIFY(hasLine(p, 700, 13400, 4762.8, 13400));
    }

    void fullRecordTextsStandAtTheirPlaces()
    {
        const QString line = recordLine({{"Lieu", "Valbrune"}, {"Paroisse", "Saint-Martin"}, {"Type d'acte", "MA"},
            {"Cote", "3E12"}, {"Date", "03/05/1815"}, {"Dispense", "1"}, {"° de parenté", "3e degré"},
            {"Nom EPX", "KERDUEL"}, {"Prenom EPX", "Yves"}, {"Org EPX", "Plouvern"}, {"Code Org EPX", "29"},
            {"Naiss EPX", "02/02/1790"}, {"Age EPX", "25"}, {"Nom PEPX", "KERDUEL"}, {"Prenom PEPX", "Jean"},
            {"Evnt PEPX", "+"}, {"Age PEPX", "60"}, {"Rés PEPX", "Tremor"}, {"Code Rés PEPX", "56"},
            {"Nom EXEPX2", "QUÉRÉ"}, {"Prenom EXEPX2", "Lise"}, {"Prof EXEPX2", "lingère"},
            {"Nom EPSE", "LE BIHAN"}, {"Prenom EPSE", "Marie"}, {"Nom MEPSE", "TANGUY"}, {"Prenom MEPSE", "Rose"},
            {"NomT1", "GUÉGUEN"}, {"PrenomT1", "Paul"}, {"AvecT1", "1"}, {"AvecT2", "2"}, {"RqT4", "voisin"},
            {"DateCM", "01/05/1815"}, {"DateMA", "ignored"}, {"Notes", "Signé par les époux"}});
        const Page p = print::recordCard(entryOf(line), Path, m).pages.value(0);

        QCOMPARE(textOf(p, 4000, 700), QStringLiteral("Valbrune - Saint-Martin"));
        QCOMPARE(textOf(p, 750, 1200), QStringLiteral("Mariage"));
        QCOMPARE(textOf(p, 3000, 1200), QStringLiteral("03/05/1815"));
        QVERIFY(textAt(p, 3000, 1200)->font.bold);
        QCOMPARE(textOf(p, 4500, 1200), QStringLiteral("Cote: 3E12"));
        QCOMPARE(textOf(p, 7200, 1200), QStringLiteral("Dispense: 3e degré"));

        QCOMPARE(textOf(p, 750, 2300), QStringLiteral("KERDUEL Yves"));
        QCOMPARE(textOf(p, 850, 2650), QStringLiteral("Né à: Plouvern (29), le 02/02/1790 (25 ans)"));
        QCOMPARE(textOf(p, 3500, 4000), QStringLiteral("Age: 60 ans"));
        QCOMPARE(textOf(p, 3500, 4250), QStringLiteral("Résidence: Tremor (56)"));
        // The father's name follows his underlined label, in bold.
        const TextOp *pere = textAt(p, 750, 3750);
        QVERIFY(pere && pere->text == "Père:" && pere->font.underline && pere->font.size == 11);
        const TextOp *pereName = textStarting(p, "KERDUEL Jean +");
        QVERIFY(pereName && pereName->font.bold && !pereName->font.underline);
        QCOMPARE(pereName->x, 750 + m.width("Père:", pere->font));
        QCOMPARE(pereName->y, 3750.0);
        const TextOp *ex2 = textStarting(p, "QUÉRÉ Lise");
        QVERIFY(ex2 && ex2->y == 7800 && !ex2->font.bold);
        QCOMPARE(textOf(p, 850, 8550), QStringLiteral("Profession: lingère"));

        // The wife's column starts at 5953.5.
        QCOMPARE(textOf(p, 6003.5, 2300), QStringLiteral("LE BIHAN Marie"));
        QVERIFY(textStarting(p, "TANGUY Rose ")->x > 6003.5);

        QCOMPARE(textOf(p, 750, 9700), QStringLiteral("GUÉGUEN Paul"));
        QCOMPARE(textOf(p, 800, 11450), QStringLiteral("Avec: Epoux"));
        QCOMPARE(textOf(p, 800 + 2626.75, 11450), QStringLiteral("Avec: Epouse"));
        QCOMPARE(textOf(p, 800 + 3 * 2626.75, 11700), QStringLiteral("Rem: voisin"));

        QCOMPARE(textOf(p, 800, 12600), QStringLiteral("Date du contrat: 01/05/1815"));
        QCOMPARE(textOf(p, 4912.8, 12600), QStringLiteral("Signé par les époux"));
        QVERIFY(!p.textList().contains("Date du mariage: ignored"));
    }

    void otherActTypesShowTheMarriageBox()
    {
        EntryState s = entryOf(recordLine({{"Type d'acte", "PB"}, {"DateMA", "09/06/1815"}, {"LieuMA", "Brelis"},
                                           {"DateCM", "not shown"}}));
        QCOMPARE(s.actLabel, QStringLiteral("Publication"));
        const Page p = print::recordCard(s, Path, m).pages.value(0);
        const TextOp *title = textAt(p, 700 + (1300 - m.width("Mariage", Font{"Arial", 14, false, true})) / 2, 12200);
        QVERIFY(title && title->text == "Mariage" && title->font.italic);
        QCOMPARE(textOf(p, 800, 12600), QStringLiteral("Date du mariage: 09/06/1815"));
        QCOMPARE(textOf(p, 800, 12850), QStringLiteral("Lieu du mariage: Brelis"));
        QVERIFY(!p.textList().contains("Contrat de Mariage"));
        QVERIFY(hasLine(p, 700, 13150, 4762.8, 13150));
        QVERIFY(!hasLine(p, 700, 13400, 4762.8, 13400));
        // An unticked dispensation prints nothing on the act line.
        QVERIFY(!textStarting(p, "Dispense"));
    }

    void longTextsAreCutAtTheirLimits()
    {
        const QString longPlace = QStringLiteral("Saint-Guénolé-de-la-Haute-Forêt-sous-les-Monts-d'Orvane-et-Dépendances");
        EntryState s = entryOf(recordLine({{"Lieu", longPlace}, {"Paroisse", "Notre-Dame-des-Sept-Douleurs"},
                                           {"NomT2", "KERMARREC-LE-GOFF"},
                                           {"PrenomT2", "Marie-Françoise Joséphine"}}));
        const Page p = print::recordCard(s, Path, m).pages.value(0);

        const TextOp *place = textAt(p, 4000, 700);
        QVERIFY(place);
        const QString full = longPlace + " - Notre-Dame-des-Sept-Douleurs";
        QVERIFY(full.startsWith(place->text) && place->text.size() < full.size());
        QVERIFY(4000 + m.width(place->text, place->font) <= 11907 - 50);
        QVERIFY(4000 + m.width(full.left(place->text.size() + 1), place->font) > 11907 - 50);

        const TextOp *w2 = textAt(p, 750 + 2626.75, 9700);
        QVERIFY(w2 && w2->text.startsWith("KERMARREC"));
        QVERIFY(w2->x + m.width(w2->text, w2->font) <= 700 + 2 * 2626.75 - 50);
    }
};

QTEST_MAIN(TestPrintCard)
#include "test_print_card.moc"
