#include "PortNames.h"

#include "profile/MatrixProfile.h"

#include <string_view>

namespace zentrel {

namespace {

const std::string kNone;

bool isWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

PortNames::PortNames(const MatrixProfile& profile)
    : inputs_(profile.inputNames), outputs_(profile.outputNames) {}

const std::string& PortNames::input(int k) const {
    return k >= 1 && k <= kPorts ? inputs_[static_cast<std::size_t>(k - 1)] : kNone;
}

const std::string& PortNames::output(int k) const {
    return k >= 1 && k <= kPorts ? outputs_[static_cast<std::size_t>(k - 1)] : kNone;
}

std::string PortNames::after(const std::string& text, const std::string& name) {
    return name.empty() ? text : text + "  " + name;
}

std::string PortNames::inMeaning(const std::string& meaning) const {
    // The meanings name a port only as "input N" (1..8) and "output X" (A..H), each a word of
    // its own: "all inputs", "the input" and "input output B" name none.
    static constexpr std::string_view kInput = "input ";
    static constexpr std::string_view kOutput = "output ";
    std::string out;
    out.reserve(meaning.size());
    std::size_t at = 0;
    while (at < meaning.size()) {
        const std::string_view rest = std::string_view(meaning).substr(at);
        const bool wordStart = at == 0 || !isWordChar(meaning[at - 1]);
        const std::string* name = nullptr;
        std::size_t length = 0;
        if (wordStart && rest.starts_with(kInput) && rest.size() > kInput.size()) {
            length = kInput.size() + 1;
            name = &input(rest[kInput.size()] - '0');
        } else if (wordStart && rest.starts_with(kOutput) && rest.size() > kOutput.size()) {
            length = kOutput.size() + 1;
            name = &output(rest[kOutput.size()] - 'A' + 1);
        }
        const bool wordEnd = length != 0 && (length == rest.size() || !isWordChar(rest[length]));
        if (name == nullptr || name->empty() || !wordEnd) {
            out += meaning[at++];
            continue;
        }
        out.append(rest.substr(0, length));
        out += " (" + *name + ")";
        at += length;
    }
    return out;
}

} // namespace zentrel
