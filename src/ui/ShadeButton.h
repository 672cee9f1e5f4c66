#pragma once
// A skinned button whose face is a generated metallic texture instead of a flat colour. The
// texture comes from a fixed-seed generator, so every run and every button of one size looks
// the same.
#include "SkinButton.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zentrel {

class ShadeButton : public SkinButton {
public:
    using Palette = std::array<Color, 256>;

    // An 8-bit palette image.
    struct Image {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> pixels; // row by row
        Palette palette{};
        std::uint8_t at(int x, int y) const {
            return pixels[static_cast<std::size_t>(y * width + x)];
        }
        Color colorAt(int x, int y) const { return palette[at(x, y)]; }
    };

    // Textures as the panel's windows use them: pattern 8, granularity 8, highlight 10 %,
    // colouring 0 % towards black.
    static constexpr int kPattern = 8;
    static constexpr int kGranularity = 8;
    static constexpr int kHighlight = 10;

    ShadeButton() = default;

    // Builds the face for a button of this size (each side at least 1 pixel).
    void setShade(int width, int height, int pattern = kPattern, int granularity = kGranularity,
                  int highlight = kHighlight, int coloring = 0, Color color = rgb(0, 0, 0));

    bool shaded() const { return !normal_.pixels.empty(); }
    const Image& normalImage() const { return normal_; }
    const Image& hotImage() const { return hot_; }
    const Image& horizontalStrip() const { return hStrip_; }
    const Image& verticalStrip() const { return vStrip_; }

    Look look(const DrawState& s) const override;

    // Which face a draw request shows, and whether it sits one pixel right and down.
    const Image& faceFor(const DrawState& s, bool* shifted) const;

private:
    Image normal_;
    Image hot_;
    Image hStrip_;
    Image vStrip_;
};

} // namespace zentrel
