#pragma once
// The matrix's answers on UDP: its discovery record for the one-byte probe on port 30600, and
// the handling of a configuration record on port 30601 that sets its address mode, IPv4
// address and MAC address.
#include "MatrixState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zentrel::sim {

class NetworkResponder {
public:
    static constexpr std::uint16_t kDiscoveryPort = 30600;
    static constexpr std::uint16_t kConfigPort = 30601;
    static constexpr std::uint8_t kProbe = 0x61;
    static constexpr std::size_t kDiscoverySize = 55;
    static constexpr std::size_t kConfigSize = 76;
    static constexpr std::uint8_t kStatusRequest = 0xFF;
    static constexpr std::uint8_t kStatusAccepted = 0x00;
    static constexpr std::uint8_t kStatusRefused = 0x01;

    explicit NetworkResponder(MatrixState& state) : state_(state) {}

    // The discovery record, for a datagram that is exactly the probe; nothing for anything
    // else (among it our own broadcast answers, which come back to the shared port).
    std::optional<std::vector<std::uint8_t>> onDiscovery(std::span<const std::uint8_t> dgram) const;
    // The answer to a configuration request addressed to this unit's MAC; nothing for records
    // meant for another unit and for answers (status byte not FF).
    std::optional<std::vector<std::uint8_t>> onConfig(std::span<const std::uint8_t> dgram);

    std::vector<std::uint8_t> discoveryRecord() const;

    // Refuses every configuration request addressed to this unit (status byte 1).
    void setRefuseConfig(bool refuse) { refuseConfig_ = refuse; }

    static std::uint8_t recordChecksum(std::span<const std::uint8_t> first75);

private:
    bool acceptable(std::span<const std::uint8_t> rec) const;

    MatrixState& state_;
    bool refuseConfig_ = false;
};

} // namespace zentrel::sim
