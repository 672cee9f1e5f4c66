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

std::optional<std::vector<int>> parseOutputs(const std::vector<std::string>& texts) {
    std::vector<int> outputs;
    for (const std::string& t : texts) {
        if (t == "all") {
            for (int k = 0; k < kPorts; ++k) {
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

} // namespace zentrel::cli
