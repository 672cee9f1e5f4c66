#pragma once
// Bytes received on the discovery socket since the last complete answer. It holds one pending
// partial answer (at most 49 bytes) plus one whole read (1024 bytes), so a matrix never fills it;
// anything beyond that is dropped rather than written past the end.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zentrel {

class DiscoveryBuffer {
public:
    static constexpr std::size_t kCapacity = 49 + 1024;
    // An answer is looked at once this many bytes have accumulated.
    static constexpr std::size_t kAnswerSize = 50;
    // Bytes 18 and 19 of an answer.
    static constexpr std::uint8_t kSignature0 = 0x77;
    static constexpr std::uint8_t kSignature1 = 0x88;

    struct Answer {
        std::string mac; // 12 upper-case hex digits
        std::string ip;  // dotted decimal
    };

    // False when the buffer is full and the byte was dropped.
    bool append(std::uint8_t byte);
    std::size_t count() const { return count_; }
    // Byte i of the buffer; 0 at or past the count.
    std::uint8_t at(std::size_t i) const { return i < count_ ? bytes_[i] : 0; }
    bool ready() const { return count_ >= kAnswerSize; }
    void clear() { count_ = 0; }

    // Reads the answer out of the buffer and empties it, whether or not one was found.
    std::optional<Answer> take();

    // Where the answer starts in `bytes`: the first offset whose bytes 18 and 19 carry the
    // signature. Leading bytes are usually the probe's own echo (0x61); aligning on the
    // signature rather than skipping every 0x61 keeps a MAC address that begins with 0x61.
    static std::optional<std::size_t> answerOffset(std::span<const std::uint8_t> bytes);

private:
    std::array<std::uint8_t, kCapacity> bytes_{};
    std::size_t count_ = 0;
};

} // namespace zentrel
