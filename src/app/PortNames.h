#pragma once
// The names people gave the ports of the matrix on the link, where the pages show them: after
// the text a port's line or list entry has without one ("HDMI IN3: Connect  Media player"), and in
// the words of a frame's meaning ("route input 3 (Media player) to output B (Projector)"). A port
// without a name reads exactly as it would with no names at all.
#include <array>
#include <string>

namespace zentrel {

struct MatrixProfile;

class PortNames {
public:
    static constexpr int kPorts = 8;

    PortNames() = default;
    explicit PortNames(const MatrixProfile& profile);

    // Input 1..8 and output 1..8 (A..H); empty for a port without a name or outside 1..8.
    const std::string& input(int k) const;
    const std::string& output(int k) const;

    // `text`, then two blanks and `name` when there is one.
    static std::string after(const std::string& text, const std::string& name);
    // A frame's meaning with the name of each port it speaks of ("input 3", "output B") put in
    // brackets behind it.
    std::string inMeaning(const std::string& meaning) const;

    bool operator==(const PortNames&) const = default;

private:
    std::array<std::string, kPorts> inputs_{};
    std::array<std::string, kPorts> outputs_{};
};

} // namespace zentrel
