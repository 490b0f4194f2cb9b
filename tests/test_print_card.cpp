#include "print/recordcard.h"
#include "pagedump.h"
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

const TextOp *textAt(const Page &p, double x, double y)
{
    for (const auto &t : p.texts)
        if (qAbs(t.x - x) < 0.01 && qAbs(t.y - y) < 0.01)
            return &t;
    return nullptr;
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

    // The whole card against a page written by hand from the layout rules.
    void wholeCard_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("expected");
        QStringList f;
        for (int n = 1; n <= record::FieldCount; ++n)
            f << QStringLiteral("f%1").arg(n);
        f[2] = QStringLiteral("MA");
        f[4] = QStringLiteral("03/05/1815");
        f[5] = QStringLiteral("1");
        f[116] = QStringLiteral("1");   // AvecT1: the husband's witness
        QTest::newRow("every field") << record::joinFields(f) << "12" << "card_full.txt";
        QTest::newRow("empty publication") << recordLine({{"Type d'acte", "PB"}}) << "3" << "card_empty.txt";
    }

    void wholeCard()
    {
        QFETCH(QString, line);
        QFETCH(QString, number);
        QFETCH(QString, expected);
        const print::PageDoc doc = print::recordCard(entryOf(line, number), Path, pagedump::CharMeasure());
        QCOMPARE(doc.pages.size(), 1);
        QVERIFY(pagedump::same(pagedump::dump(doc.pages.at(0)), pagedump::expected(expected)));
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
