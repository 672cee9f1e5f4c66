#pragma once
// The matrix's answers on UDP: its discovery record for the one-byte probe on port 30600, and
// the handling of a configuration record on port 30601 that sets its address mode, IPv4
// address and MAC address. Knobs shape the configuration answer (late, split in two, behind
// stray bytes) and add a second unit that answers discovery.
#include "MatrixState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace zentrel::sim {

class NetworkResponder {
public:
    // One datagram the unit sends, `delayMs` after the datagram it answers.
    struct Datagram {
        std::int64_t delayMs = 0;
        std::vector<std::uint8_t> bytes;
    };
    // How the configuration answer leaves the unit.
    struct AnswerShape {
        std::int64_t delayMs = 0; // sent this late
        std::size_t splitAt = 0;  // 1..75: the answer's bytes from here go in a second datagram
        std::vector<std::uint8_t> leading; // stray bytes in front of the answer
    };

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

    // What the unit sends for a datagram on the discovery port: its record, then the second
    // unit's when there is one. Nothing for anything but the probe.
    std::vector<Datagram> answerDiscovery(std::span<const std::uint8_t> dgram) const;
    // What the unit sends for a datagram on the configuration port, shaped as set.
    std::vector<Datagram> answerConfig(std::span<const std::uint8_t> dgram);

    void setAnswerShape(AnswerShape shape) { shape_ = std::move(shape); }
    // A second unit on the segment: MAC and address one above this unit's, answering discovery
    // only.
    void setSecondUnit(bool on) { secondUnit_ = on; }

    // Refuses every configuration request addressed to this unit (status byte 1).
    void setRefuseConfig(bool refuse) { refuseConfig_ = refuse; }

    static std::uint8_t recordChecksum(std::span<const std::uint8_t> first75);

private:
    bool acceptable(std::span<const std::uint8_t> rec) const;

    MatrixState& state_;
    bool refuseConfig_ = false;
    AnswerShape shape_;
    bool secondUnit_ = false;
};

} // namespace zentrel::sim
