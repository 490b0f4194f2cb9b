#pragma once
// A printed document as plain values: pages of texts and lines placed on an A4
// sheet measured in twips, (0, 0) top left to (11907, 16840) bottom right. Layouts
// build these from record values and a text measure, so they are tested without a
// printer; one renderer puts them on a QPrinter, a PDF file or any paint device.
#include <QFont>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace print {

constexpr double PageWidth = 11907;
constexpr double PageHeight = 16840;
constexpr double FitMargin = 50;    // an item stops this far short of its right limit

struct Font {
    QString family;                 // every font of the prints names its own
    double size{};                  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const Font &) const = default;
};

// The Qt font drawn for a Font: its pixel size is in twips (a point is 20 twips),
// so measuring and drawing agree whatever the device's resolution.
QFont qtFont(const Font &f);

struct TextOp {
    double x{}, y{};                // top-left corner
    QString text;
    Font font;
};

struct LineOp {
    double x1{}, y1{}, x2{}, y2{};
};

// Black texts and lines on white: nothing covers anything, so the order of drawing
// does not matter and texts and lines are kept apart.
struct Page {
    QList<TextOp> texts;
    QList<LineOp> lines;

    void text(double x, double y, const QString &s, const Font &f) { texts.append(TextOp{x, y, s, f}); }
    void line(double x1, double y1, double x2, double y2) { lines.append(LineOp{x1, y1, x2, y2}); }
};

struct PageDoc {
    QList<Page> pages;
};

// Width of a text as the printer prints it, in twips.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual double width(const QString &text, const Font &font) const = 0;

    // The fitting rule: characters leave the end of `text`, one at a time, until it
    // ends FitMargin short of `right` when printed from x.
    QString fit(const QString &text, const Font &font, double x, double right) const;
};

// Measures with the fonts the renderer draws. Texts are laid out without kerning
// or ligatures (see qtFont), so a width is the sum of its characters' advances,
// which are kept per font.
class FontMeasure : public TextMeasure {
public:
    double width(const QString &text, const Font &font) const override;

private:
    struct Cached;
    // A layout uses a handful of fonts: a short list searched in order is quickest.
    mutable std::vector<std::pair<Font, std::shared_ptr<Cached>>> m_cache;
};

// Draws one page on a painter whose coordinates are already the page's twips.
void drawPage(QPainter &painter, const Page &page);
// Maps the sheet onto a device of the given size in device units and draws one page.
void drawPageOn(QPainter &painter, const Page &page, double deviceWidth, double deviceHeight);

enum class RenderResult { Ok, CannotBegin, PageFailed };
// Prints every page of the document on a paged device (a QPrinter or QPdfWriter),
// one sheet per page; the device should already be set to A4 with the full page.
RenderResult render(const PageDoc &doc, QPagedPaintDevice *device);

} // namespace print

Q_DECLARE_TYPEINFO(print::Font, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(print::TextOp, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(print::LineOp, Q_PRIMITIVE_TYPE);
