#pragma once
// The command line of zentrel-matrix-sim. Parsing is kept free of Qt and of any socket so its
// mistakes can be tested on their own; each one is reported with a message that says what to
// write instead.
#include "sim/faults/FaultParser.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zentrel::sim {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimOptions {
    bool help = false;
    bool version = false;
    bool tcp = true;
    std::string tcpAddress = "127.0.0.1";
    std::uint16_t tcpPort = 8000; // 0: any free port, reported in the log
    std::optional<int> com;       // COM number 1..19
    bool udp = false;
    bool udpOnAnyNetwork = false; // allow --udp beside interfaces that reach a real network
    std::optional<std::array<std::uint8_t, 6>> mac;
    std::optional<std::array<std::uint8_t, 4>> ip;
    std::int64_t latencyMs = 5;
    std::int64_t rebootMs = 3000;
    std::int64_t upgradeRebootMs = 5000;
    std::vector<ParsedFault> faults;
    std::string firmwareOut; // --fw-out: where the received firmware image is written
    int ports = 4;           // --size: 4x4 or 8x8 (inputs and outputs alike)

    // Throws UsageError.
    static SimOptions parse(const std::vector<std::string>& args);
    static std::string usage();

    static std::array<std::uint8_t, 4> parseIpv4(const std::string& text);
    static std::array<std::uint8_t, 6> parseMac(const std::string& text);
};

} // namespace zentrel::sim
