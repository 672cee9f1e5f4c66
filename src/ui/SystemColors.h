#pragma once
// The desktop's button colours the skinned controls start from and shade towards. Fixed values
// of a classic light theme, so a skin looks the same on every desktop and in every test.
#include "platform/Geometry.h"

namespace zentrel::SystemColors {

constexpr Color ButtonFace = rgb(240, 240, 240);
constexpr Color ButtonText = rgb(0, 0, 0);
constexpr Color ButtonShadow = rgb(160, 160, 160);
constexpr Color ButtonDarkShadow = rgb(105, 105, 105);
constexpr Color ButtonLight = rgb(227, 227, 227);
constexpr Color ButtonHighlight = rgb(255, 255, 255);

} // namespace zentrel::SystemColors
