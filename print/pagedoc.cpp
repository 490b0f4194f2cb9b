#include "print/pagedoc.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace print {

namespace {

// Lines are drawn about one printer dot wide (a 300 dpi dot is 4.8 twips): the
// heavy rules, five lines five twips apart, then print as one solid bar.
constexpr double LineWidth = 5;

QString fontKey(const Font &f)
{
    return QStringLiteral("%1|%2|%3%4%5").arg(f.family).arg(f.size).arg(f.bold).arg(f.italic).arg(f.underline);
}

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
    q.setStyleStrategy(QFont::PreferOutline);
    return q;
}

QStringList Page::texts() const
{
    QStringList out;
    for (const auto &op : ops)
        if (op.kind == DrawOp::Text)
            out << op.text;
    return out;
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
};

double FontMeasure::width(const QString &text, const Font &font) const
{
    if (text.isEmpty())
        return 0;
    const QString key = fontKey(font);
    auto it = m_cache.find(key);
    if (it == m_cache.end())
        it = m_cache.insert(key, std::make_shared<Cached>(qtFont(font)));
    return it.value()->metrics.horizontalAdvance(text);
}

void drawPage(QPainter &painter, const Page &page)
{
    QPen pen(Qt::black, LineWidth, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(pen);
    QHash<QString, std::pair<QFont, double>> fonts;   // font and its ascent
    for (const auto &op : page.ops) {
        if (op.kind == DrawOp::Line) {
            painter.drawLine(QPointF(op.x, op.y), QPointF(op.x2, op.y2));
            continue;
        }
        if (op.text.isEmpty())
            continue;
        const QString key = fontKey(op.font);
        auto it = fonts.find(key);
        if (it == fonts.end()) {
            const QFont f = qtFont(op.font);
            it = fonts.insert(key, {f, QFontMetricsF(f).ascent()});
        }
        painter.setFont(it->first);
        // The position is the text's top-left corner; Qt draws from the baseline.
        painter.drawText(QPointF(op.x, op.y + it->second), op.text);
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
