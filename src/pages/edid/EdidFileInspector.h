#pragma once
// What the EDID file chosen says, where it is chosen: one or two lines below the "Input EDID
// List" group for the file the page holds (name and maker, preferred timing, audio, HDR), and
// "Details..." with the whole decode of the file chosen last, or why it was refused.
#include "EdidDetailsWindow.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrel {

class EdidPage;

namespace edid {

class EdidFileInspector {
public:
    explicit EdidFileInspector(EdidPage& page);

    // A file taken: `held` is what the page now holds of it, 128 or 256 bytes.
    void taken(const std::string& path, std::span<const std::uint8_t> held);
    // A file refused; `file` its bytes when it could be read whole at an EDID's size.
    void refused(const std::string& path, const std::optional<std::vector<std::uint8_t>>& file);
    // The "Details..." button.
    void openDetails();

    EdidDetailsWindow& details() { return details_; }

private:
    EdidPage& page_;
    EdidDetailsWindow details_;
};

} // namespace edid
} // namespace zentrel
