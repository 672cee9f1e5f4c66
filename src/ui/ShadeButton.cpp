#include "ShadeButton.h"

#include "SystemColors.h"

#include <algorithm>

namespace zentrel {

namespace {

// A small linear congruential generator started from the same seed every time, so textures
// never change between runs.
class FixedRandom {
public:
    int next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    int below(int n) { return n <= 0 ? 0 : next() % n; }

private:
    std::uint32_t state_ = 1;
};

Color blend(Color from, Color to, int percent) {
    auto mix = [percent](int a, int b) { return a + (b - a) * percent / 100; };
    return rgb(mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b));
}

ShadeButton::Palette basePalette() {
    ShadeButton::Palette p{};
    // Shadow up to the face colour in the lower half, face up to the highlight in the upper.
    for (int i = 0; i <= 128; ++i) {
        p[static_cast<std::size_t>(i)] =
            blend(SystemColors::ButtonShadow, SystemColors::ButtonFace, i * 100 / 128);
    }
    for (int i = 129; i < 256; ++i) {
        p[static_cast<std::size_t>(i)] =
            blend(SystemColors::ButtonFace, SystemColors::ButtonHighlight, (i - 128) * 100 / 127);
    }
    return p;
}

void fillPattern(ShadeButton::Image& img, int pattern, int granularity, FixedRandom& rnd) {
    const int w = img.width;
    const int h = img.height;
    std::vector<int> v(static_cast<std::size_t>(w * h), 0);
    auto at = [&](int x, int y) -> int& { return v[static_cast<std::size_t>(y * w + x)]; };
    const int noise = 2 * granularity;
    if (pattern == 8) {
        // Short diagonal streaks, mirrored left to right, then a diagonal ramp that grows
        // downwards and to the left, then a little noise.
        const int smaller = std::min(w, h);
        for (int i = 0; i < 200; ++i) {
            const int x0 = rnd.below(w);
            const int y0 = rnd.below(h);
            const int len = rnd.below(smaller) + 1;
            const int index = rnd.below(41);
            for (int k = 0; k < len && x0 + k < w && y0 + k < h; ++k) {
                at(x0 + k, y0 + k) = index;
                at(w - 1 - (x0 + k), y0 + k) = index;
            }
        }
        const int amplitude = (255 - 2 * granularity - 40) / 2;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int down = h > 1 ? amplitude * y / (h - 1) : 0;
                const int left = w > 1 ? amplitude * (w - 1 - x) / (w - 1) : 0;
                at(x, y) += down + left + rnd.below(noise + 1);
            }
        }
    } else {
        for (int& p : v) {
            p = 128 - granularity + rnd.below(noise + 1);
        }
    }
    img.pixels.resize(v.size());
    std::transform(v.begin(), v.end(), img.pixels.begin(),
                   [](int p) { return static_cast<std::uint8_t>(std::clamp(p, 0, 255)); });
}

} // namespace

void ShadeButton::setShade(int width, int height, int pattern, int granularity, int highlight,
                           int coloring, Color color) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    FixedRandom rnd;
    Palette palette = basePalette();
    const int colorPercent = std::clamp(coloring, 0, 100);
    for (Color& c : palette) {
        c = blend(c, color, colorPercent);
    }

    normal_ = Image{width, height, {}, palette};
    fillPattern(normal_, pattern, granularity, rnd);

    // The edge strips are dotted: entries 0 and 255 in turn.
    hStrip_ = Image{width, 1, std::vector<std::uint8_t>(static_cast<std::size_t>(width)), palette};
    for (int x = 0; x < width; ++x) {
        hStrip_.pixels[static_cast<std::size_t>(x)] = (x % 2 == 0) ? 0 : 255;
    }
    vStrip_ =
        Image{1, height, std::vector<std::uint8_t>(static_cast<std::size_t>(height)), palette};
    for (int y = 0; y < height; ++y) {
        vStrip_.pixels[static_cast<std::size_t>(y)] = (y % 2 == 0) ? 0 : 255;
    }

    hot_ = normal_;
    const int percent = std::clamp(highlight, 0, 100);
    for (Color& c : hot_.palette) {
        c = blend(c, SystemColors::ButtonHighlight, percent);
    }
    repaint();
}

SkinButton::Look ShadeButton::look(const DrawState& s) const {
    Look l = SkinButton::look(s);
    // The face replaces the background; the edges of a flat bordered button stay.
    l.transparent = false;
    return l;
}

const ShadeButton::Image& ShadeButton::faceFor(const DrawState& s, bool* shifted) const {
    const bool pressed = checkMode() ? (checked() || s.pressed) : s.pressed;
    if (shifted != nullptr) {
        *shifted = pointerOver() && pressed;
    }
    return pointerOver() ? hot_ : normal_;
}

} // namespace zentrel
