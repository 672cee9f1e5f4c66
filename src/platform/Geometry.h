#pragma once
#include <cstdint>

namespace zentrel {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, right, bottom, as window rectangles are kept on the platform we stand in for.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color rgb(int r, int g, int b) {
    return Color{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                 static_cast<std::uint8_t>(b)};
}

// Dialog units of the "System" 10 font: one unit is two pixels each way.
constexpr int kPixelsPerDialogUnit = 2;
constexpr Rect dialogUnitsToPixels(int x, int y, int w, int h) {
    return Rect{x * kPixelsPerDialogUnit, y * kPixelsPerDialogUnit, (x + w) * kPixelsPerDialogUnit,
                (y + h) * kPixelsPerDialogUnit};
}

} // namespace zentrel
