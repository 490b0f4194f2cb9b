#pragma once
// Layouts are written in twips (1/1440 inch); on screen 15 twips make one pixel at 96 dpi.
#include <QRect>

namespace twips {
constexpr int perPixel = 15;
constexpr int px(int tw) { return tw < 0 ? -px(-tw) : (tw + perPixel / 2) / perPixel; }   // halves away from zero
constexpr int tw(int pixels) { return pixels * perPixel; }
inline QRect rect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }
} // namespace twips
