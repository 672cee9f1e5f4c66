#pragma once
// Everything a matrix remembers about itself. Ports are indexed 1..8 (index 0 unused) because
// the protocol addresses eight inputs and eight outputs even on a four-by-four unit.
#include <array>
#include <cstdint>

namespace zentrel::sim {

constexpr int kMaxPorts = 8;

constexpr bool isPort(int k) {
    return k >= 1 && k <= kMaxPorts;
}

// The unit's own default EDID status is its built-in EDID 4, the one a factory reset chooses.
constexpr std::uint8_t kEdidDefault = 0x03;

enum class AddressMode : std::uint8_t { Static = 0, Auto = 1 };

struct MatrixState {
    int inputs = 4;
    int outputs = 4;
    std::uint8_t deviceType = 1; // 1 HDMI, 2 HDBT, 3 HDMI+HDBT
    std::uint8_t firmwareMajor = 1;
    std::uint8_t firmwareMinor = 3;

    std::array<std::uint8_t, kMaxPorts + 1> routing{};    // routing[k]: input feeding k
    std::array<bool, kMaxPorts + 1> inputConnected{};     // a source is plugged in
    std::array<bool, kMaxPorts + 1> outputConnected{};    // a display is plugged in
    std::array<std::uint8_t, kMaxPorts + 1> edidStatus{}; // status code per input
    bool beep = true;
    bool irControl = true;
    bool powerOn = true;

    std::array<std::uint8_t, 6> mac{0x02, 0x5A, 0x45, 0x4E, 0x00, 0x01};
    std::array<std::uint8_t, 4> ip{127, 0, 0, 1};
    std::array<std::uint8_t, 4> gateway{127, 0, 0, 1};
    std::array<std::uint8_t, 4> mask{255, 0, 0, 0};
    AddressMode addressMode = AddressMode::Static;

    // A unit as it leaves the factory: input k on output k, sources and displays on the
    // ports the unit has, default EDID everywhere.
    static MatrixState factory(int inputs = 4, int outputs = 4) {
        MatrixState s;
        s.inputs = inputs;
        s.outputs = outputs;
        for (int k = 1; k <= kMaxPorts; ++k) {
            s.routing[k] = static_cast<std::uint8_t>(k <= inputs ? k : 1);
            s.inputConnected[k] = k <= inputs;
            s.outputConnected[k] = k <= outputs;
            s.edidStatus[k] = kEdidDefault;
        }
        return s;
    }
};

} // namespace zentrel::sim
