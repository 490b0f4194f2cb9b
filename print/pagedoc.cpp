#include "print/pagedoc.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLineF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <array>
#include <optional>

namespace print {

namespace {

// Lines are drawn about one printer dot wide (a 300 dpi dot is 4.8 twips): the
// heavy rules, five lines five twips apart, then print as one solid bar.
constexpr double LineWidth = 5;

} // namespace

QFont qtFont(const Font &f)
{
    QFont q(f.family);
    q.setPixelSize(qMax(1, qRound(f.size * 20)));
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    // Outlines at their true width: no snapping of advances to a screen grid.
    q.setHintingPreference(QFont::PreferNoHinting);
    // Latin text needs no shaping: unshaped (no kerning, no ligatures) a text is
    // exactly as wide as its characters' advances added up, which keeps measuring quick.
    q.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferNoShaping));
    return q;
}

QString TextMeasure::fit(const QString &text, const Font &font, double x, double right) const
{
    const double room = right - FitMargin - x;
    QString s = text;
    while (!s.isEmpty() && width(s, font) > room)
        s.chop(1);
    return s;
}

struct FontMeasure::Cached {
    explicit Cached(const QFont &f) : metrics(f) {}
    QFontMetricsF metrics;
    std::array<std::optional<double>, 256> latin;   // advances of U+0000..U+00FF, once measured
    QHash<char16_t, double> others;  // the rest of Windows-1252 (Œ, €, ’ ...)

    double advance(QChar c)
    {
        const char16_t u = c.unicode();
        if (u < latin.size()) {
            std::optional<double> &a = latin[u];
            if (!a)
                a = metrics.horizontalAdvance(c);
            return *a;
        }
        auto it = others.find(u);
        if (it == others.end())
            it = others.insert(u, metrics.horizontalAdvance(c));
        return *it;
    }
};

double FontMeasure::width(const QString &text, const Font &font) const
{
    Cached *cached = nullptr;
    for (const auto &[f, c] : m_cache)
        if (f == font)
            cached = c.get();
    if (!cached) {
        m_cache.emplace_back(font, std::make_shared<Cached>(qtFont(font)));
        cached = m_cache.back().second.get();
    }
    double w = 0;
    for (QChar c : text)
        w += cached->advance(c);
    return w;
}

void drawPage(QPainter &painter, const Page &page)
{
    QPen pen(Qt::black, LineWidth, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(pen);
    std::vector<QLineF> lines;
    for (const auto &l : page.lines)
        lines.emplace_back(l.x1, l.y1, l.x2, l.y2);
    painter.drawLines(lines.data(), int(lines.size()));

    struct Drawn {
        Font font;
        QFont qfont;
        double ascent;
    };
    std::vector<Drawn> fonts;
    const Drawn *current = nullptr;
    for (const auto &t : page.texts) {
        if (t.text.isEmpty())
            continue;
        if (!current || !(current->font == t.font)) {
            current = nullptr;
            for (const auto &d : fonts)
                if (d.font == t.font)
                    current = &d;
            if (!current) {
                const QFont f = qtFont(t.font);
                fonts.push_back(Drawn{t.font, f, QFontMetricsF(f).ascent()});
                current = &fonts.back();
            }
            painter.setFont(current->qfont);
        }
        // The position is the text's top-left corner; Qt draws from the baseline.
        painter.drawText(QPointF(t.x, t.y + current->ascent), t.text);
    }
}

void drawPageOn(QPainter &painter, const Page &page, double deviceWidth, double deviceHeight)
{
    painter.save();
    painter.scale(deviceWidth / PageWidth, deviceHeight / PageHeight);
    drawPage(painter, page);
    painter.restore();
}

RenderResult render(const PageDoc &doc, QPagedPaintDevice *device)
{
    QPainter painter;
    if (!painter.begin(device))
        return RenderResult::CannotBegin;
    const double w = device->width(), h = device->height();
    for (qsizetype i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !device->newPage()) {
            painter.end();
            return RenderResult::PageFailed;
        }
        drawPageOn(painter, doc.pages.at(i), w, h);
    }
    return painter.end() ? RenderResult::Ok : RenderResult::PageFailed;
}

} // namespace print
