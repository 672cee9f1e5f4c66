#pragma once
// Where the Matrix page puts its groups and panels for the size of the unit on the link. Four
// outputs: the template's first row of groups (input buttons 5..8 hidden on a four-input unit,
// the arrows then in their places) and the panels over the second row. Eight outputs: two rows
// of lower groups, each with its number box between its arrows and two rows of four input
// buttons, and the panels below them with a shorter stored-settings list, so the page keeps its
// size and every setting stays in reach.
#include "state/MatrixSize.h"

#include <optional>

namespace zentrel {

class Window;

class MatrixLayout {
public:
    explicit MatrixLayout(Window& page) : page_(page) {}

    // Lays the page out for `size`; nothing moves while the size stays the one shown.
    void apply(const MatrixSize& size);
    const MatrixSize& shown() const { return *shown_; }

private:
    void restoreTemplate();
    void placeEightOutputs();

    Window& page_;
    std::optional<MatrixSize> shown_;
};

} // namespace zentrel
