#include "print/recordcard.h"
#include "pagedump.h"
#include "testutil.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace testutil;
using print::Font;

namespace {

const QString Path = QStringLiteral("/srv/tables/Valbrune.krv");

print::Page card(const QString &line, const QString &number, const print::TextMeasure &m)
{
    EntryState s;
    if (!transfer::showLine(line, s))
        qFatal("not a record line");
    s.recordNumber = number;
    const print::PageDoc doc = print::recordCard(s, Path, m);
    return doc.pages.size() == 1 ? doc.pages[0] : print::Page();
}

} // namespace

class TestPrintCard : public QObject {
    Q_OBJECT
    print::FontMeasure m;

private slots:
    // Real widths, cut 50 twips short of the limit, as drawn on paper.
    void measuring()
    {
        const Font f{QStringLiteral("Arial"), 10};
        QVERIFY(m.width("M", f) > 140 && m.width("M", f) < 190);   // 10 points of "M" is about 166 twips
        QVERIFY(m.width("tout", Font{"Arial", 10, true}) > m.width("tout", f));
        const QString text = QStringLiteral("Saint-Aubin-des-Landes-sur-Orvane");
        const double w = m.width(text, f);
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 50), text);
        QCOMPARE(m.fit(text, f, 1000, 1000 + w + 49), text.chopped(1));
        const QString shorter = m.fit(text, f, 1000, 3000);
        QVERIFY(text.startsWith(shorter) && 1000 + m.width(shorter, f) <= 3000 - 50);
        QVERIFY(1000 + m.width(text.left(shorter.size() + 1), f) > 3000 - 50);
        QCOMPARE(m.fit(text, f, 2960, 3000), QString());

        // Drawn on a 2381-pixel-wide image (5 twips a pixel), the text ends where measured.
        const Font bold{"Arial", 12, true};
        const QString name = QStringLiteral("KERDUEL Yves Marie, Tréfléan");
        print::Page page;
        page.text(1000, 1000, name, bold);
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
        const double end = (1000 + m.width(name, bold)) / 5;   // the ink stops a side bearing short
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
        QVERIFY(pagedump::same(pagedump::dump(card(line, number, pagedump::CharMeasure())), pagedump::expected(expected)));
    }

    void longTextsAreCutAtTheirLimits()
    {
        const QString longPlace = QStringLiteral("Saint-Guénolé-de-la-Haute-Forêt-sous-les-Monts-d'Orvane-et-Dépendances");
        const print::Page p = card(recordLine({{"Lieu", longPlace}, {"Paroisse", "Notre-Dame-des-Sept-Douleurs"},
                                               {"NomT2", "KERMARREC-LE-GOFF"}, {"PrenomT2", "Marie-Françoise Joséphine"}}), "12", m);
        const auto textAt = [&](double x, double y) {
            for (const auto &t : p.texts)
                if (qAbs(t.x - x) < 0.01 && qAbs(t.y - y) < 0.01)
                    return t;
            return print::TextOp{};
        };
        const print::TextOp place = textAt(4000, 700);
        const QString full = longPlace + " - Notre-Dame-des-Sept-Douleurs";
        QVERIFY(!place.text.isEmpty() && full.startsWith(place.text) && place.text.size() < full.size());
        QVERIFY(4000 + m.width(place.text, place.font) <= 11907 - 50);
        QVERIFY(4000 + m.width(full.left(place.text.size() + 1), place.font) > 11907 - 50);
        const print::TextOp w2 = textAt(750 + 2626.75, 9700);
        QVERIFY(w2.text.startsWith("KERMARREC") && w2.text.size() < 43);
        QVERIFY(w2.x + m.width(w2.text, w2.font) <= 700 + 2 * 2626.75 - 50);
    }
};

QTEST_MAIN(TestPrintCard)
#include "test_print_card.moc"
