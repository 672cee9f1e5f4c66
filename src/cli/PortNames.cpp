#include "PortNames.h"

#include <cctype>

namespace zentrel::cli {

namespace {

std::optional<int> number(const std::string& text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] < '1' + kPorts) {
        return text[0] - '1';
    }
    return std::nullopt;
}

} // namespace

std::optional<int> parseInput(const std::string& text) {
    return number(text);
}

std::optional<int> parseOutput(const std::string& text) {
    if (text.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (c >= 'A' && c < 'A' + kPorts) {
            return c - 'A';
        }
    }
    return number(text);
}

std::optional<std::vector<int>> parseOutputs(const std::vector<std::string>& texts, int count) {
    std::vector<int> outputs;
    for (const std::string& t : texts) {
        if (t == "all") {
            for (int k = 0; k < count; ++k) {
                outputs.push_back(k);
            }
            continue;
        }
        const std::optional<int> k = parseOutput(t);
        if (!k) {
            return std::nullopt;
        }
        outputs.push_back(*k);
    }
    return outputs;
}

std::string portsOutside(const std::vector<std::string>& operands, const MatrixSize& size) {
    const std::string n = std::to_string(size.outputs);
    for (std::size_t i = 0; i < operands.size(); ++i) {
        const std::string& t = operands[i];
        if (i == 0 && parseInput(t).value_or(0) >= size.inputs) {
            return "not an input 1.." + std::to_string(size.inputs) + ": " + t;
        }
        if (i > 0 && t != "all" && parseOutput(t).value_or(0) >= size.outputs) {
            return std::string("not an output A..") + static_cast<char>('A' + size.outputs - 1) +
                   " or 1.." + n + ": " + t;
        }
    }
    return {};
}

} // namespace zentrel::cli
