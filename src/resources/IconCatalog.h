#pragma once
// The icon resources that exist, with their natural sizes. The images themselves are drawn by
// the view; the behaviour only needs to know whether an icon exists and how large it is.
#include <optional>

namespace zentrel {

struct IconSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const IconSize&, const IconSize&) = default;
};

// Nothing when the resource is not an icon of this program.
std::optional<IconSize> iconSize(int resource);

// Whether a cursor resource can be loaded.
bool cursorExists(int resource);

} // namespace zentrel
