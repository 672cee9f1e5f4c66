#pragma once
// The EDID page's lists and its "Input EDID List" for the size of the unit on the link. The
// template carries eight inputs and eight outputs with the list laid out past the page's edge.
// Four inputs: the target lists "IN1".."IN4" and "All Inputs", the sources "HDMI OUT A".."D",
// the left column of the list only, its frames 150 pixels narrower and the Status button moved
// in by as much. Eight inputs: the same frames and button, the lists of eight, and the second
// column right of the separator, both columns' rows closer so the last ends above the button.
#include "operations/EdidWaits.h"
#include "state/MatrixSize.h"

#include <optional>

namespace zentrel {

class Window;

class EdidLayout {
public:
    explicit EdidLayout(Window& page) : page_(page) {}

    // Lays the page out for `size` and shows `selections` in the lists: "All Inputs" stays all
    // of them, a port the unit lacks goes back to the first entry. Nothing changes while the size
    // stays the one shown.
    void apply(const MatrixSize& size, edid::EdidTargets& selections);

private:
    void fillLists(const MatrixSize& size);
    void placeList(const MatrixSize& size);

    Window& page_;
    std::optional<MatrixSize> shown_;
};

} // namespace zentrel
