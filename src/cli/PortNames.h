#pragma once
// The port operands the commands take: inputs 1..8, outputs A..H or 1..8, "all" where the
// command allows it. The matrix numbers both from 0; these are the numbers people see.
#include "state/MatrixSize.h"

#include <optional>
#include <string>
#include <vector>

namespace zentrel::cli {

constexpr int kPorts = 8;

// Input 1..8 as 0..7; nothing for any other text.
std::optional<int> parseInput(const std::string& text);
// Output A..H (either case) or 1..8 as 0..7; nothing for any other text.
std::optional<int> parseOutput(const std::string& text);
// The outputs of `texts`, "all" standing for every one of the `outputs` a unit has; nothing
// when one is not an output.
std::optional<std::vector<int>> parseOutputs(const std::vector<std::string>& texts,
                                             int outputs = kPorts);
// What is wrong with route operands (an input, then outputs) on a unit of `size`: a port it
// lacks, in the manner of the argument checks ("not an output A..D or 1..4: G"); empty when
// they are its own.
std::string portsOutside(const std::vector<std::string>& operands, const MatrixSize& size);

} // namespace zentrel::cli
