#pragma once
#include <string>

namespace zentrel {

// One entry of a pop-up or window menu; command 0 is a separator.
struct MenuEntry {
    unsigned command = 0;
    std::string text;
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

} // namespace zentrel
