#pragma once
// The switching grid as the user sees it: one group per output with its number box, its input
// buttons and its two arrows. It builds the four-output layout from the eight-output template,
// shows what the matrix confirmed, and tells which output and input a click meant (MatrixLayout
// places its controls for the unit's size).
#include "MatrixIds.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zentrel {

class Window;

class OutputGrid {
public:
    struct Target {
        int output;
        int input;
    };

    explicit OutputGrid(Window& page);

    // The page's opening: the number boxes black on green showing "1".
    void open();
    // The inputs the arrows step through: the unit's.
    void setInputs(int inputs) { inputs_ = inputs; }

    // The input button (output, input) behind control `id`, if it is one of the grid's.
    std::optional<Target> inputButtonAt(int id) const;
    // The input an arrow click asks for, stepping from the confirmed input through the inputs.
    std::optional<Target> arrowAt(int id) const;

    // Marks input i of output k pressed and its seven other buttons released; an i outside
    // 1..8 changes nothing.
    void showInput(int k, int i);
    void showBox(int k, const std::string& text);
    void showBox(int k, int value) { showBox(k, std::to_string(value)); }
    // The input last confirmed for output k, and its record.
    int source(int k) const { return source_[static_cast<std::size_t>(k - 1)]; }
    void setSource(int k, int input) { source_[static_cast<std::size_t>(k - 1)] = input; }

private:
    Window& page_;
    std::array<int, ops::kOutputs> source_{1, 1, 1, 1, 1, 1, 1, 1}; // OutputSource
    int inputs_ = ops::kShown;
};

} // namespace zentrel
