#pragma once
// How many inputs and outputs the unit on a link has. The protocol addresses eight of each;
// a unit that has not said otherwise is taken for the four-by-four one.
namespace zentrel {

struct MatrixSize {
    static constexpr int kSmall = 4;
    static constexpr int kLarge = 8;

    int inputs = kSmall;
    int outputs = kSmall;

    // The larger of the two: the status chain and the pages' lists go up to this port.
    int ports() const { return inputs > outputs ? inputs : outputs; }
    bool large() const { return ports() == kLarge; }
    // A count as the model reply gives it: 8 is 8, anything else is 4.
    static int countOf(int reported) { return reported == kLarge ? kLarge : kSmall; }
    bool operator==(const MatrixSize&) const = default;
};

} // namespace zentrel
