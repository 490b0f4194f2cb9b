#pragma once
// Layout of the detail window: the window as created and the changes each of the
// thirteen detail modes makes to it. All measures are twips, kept as the exact
// (sometimes fractional) values; the window rounds them to pixels.
#include <QColor>
#include <QString>

#include <array>

namespace detail {

constexpr int ModeCount = 13;
constexpr int LabelCount = 13;   // LblRem(0)..LblRem(12)
constexpr int BoxCount = 16;     // TxtRqEp(0)..TxtRqEp(15)
constexpr int ParentCount = 2;   // LblParents(0) "Père:", LblParents(1) "Mère:"

// Detail modes by job.
enum Mode {
    HusbandDetails = 1, WifeDetails = 2, WifeParents = 3, HusbandParents = 4,
    Contract = 5, Dispensation = 6, Marriage = 7, Witnesses = 8,
    HusbandSpouses = 9, WifeSpouses = 10, Parishes = 11, TableProperties = 12, About = 13
};

const QColor LightYellow(255, 255, 192);
const QColor LightBlue(192, 192, 255);
const QColor LightPink(255, 192, 192);
const QColor LightGreen(192, 255, 192);
const QColor LinkBlue(0, 0, 255);
// The system colour of tooltips (the about box's back colour).
QColor infoBackColour();

// The window's border: the outer size exceeds the client area by this on each side.
constexpr double BorderTwips = 15;

struct Item {
    bool visible = false;
    double left{}, top{}, width{}, height{};
    QString caption;
    int maxLength = 0;          // 0: no limit
    QColor back;                // invalid: the control's own default
    QColor fore;                // invalid: the default text colour
    double pointSize = 8.25;
    bool bold = false, italic = false, underline = false;
};

struct Layout {
    double outerWidth{}, outerHeight{};
    QColor back;
    std::array<Item, LabelCount> lblRem;
    std::array<Item, BoxCount> box;
    std::array<Item, ParentCount> parents;
    Item picture, frame1, frame2, prev, next, ok, list, line;
};

// Option buttons inside the two frames (left, width; top 0, height of the frame).
struct OptionPlace { double left, width; const char16_t *caption; };
constexpr OptionPlace Option2Places[] = {{0, 435, u"M"}, {840, 435, u"F"}};
constexpr OptionPlace Option1Places[] = {{0, 750, u"Epoux"}, {840, 855, u"Epouse"}};

Layout baseLayout();
// The base layout changed for one mode (1..13), the common last step included.
// Any other value gives the base layout.
Layout layoutFor(int mode);
// Whether TxtRqEp(box), box 0 to 15, is shown in a mode.
bool boxShown(int mode, int box);

// Twips to pixels (app/twips.h) for the fractional values of the tables.
int toPixels(double twips);

} // namespace detail
