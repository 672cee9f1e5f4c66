#pragma once
// Bytes received on the configuration socket since the last judged record. It holds one pending
// partial record (75 bytes) plus one whole read (1024 bytes); what a read brings beyond that is
// dropped, never written past the end. An answer is found where it begins with the target MAC of
// the request it answers, and is judged only once all its 76 bytes are in, so an answer split
// over datagrams or preceded by stray bytes is read from its own bytes and nothing older.
#include "ConfigRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrel {

class ConfigReplyBuffer {
public:
    static constexpr std::size_t kCapacity = 75 + 1024;

    enum class Outcome {
        Waiting,     // fewer than 76 bytes, or the answer found is not complete yet
        Accepted,    // a whole answer to the request with status 0
        Refused,     // a whole answer to the request with any other status but a request's
        NotAccepted, // our own request coming back, or bytes that answer nothing
    };

    // False when the buffer is full and the byte was dropped.
    bool append(std::uint8_t byte);
    std::size_t count() const { return count_; }
    // Byte i of the buffer; 0 at or past the count.
    std::uint8_t at(std::size_t i) const { return i < count_ ? bytes_[i] : 0; }
    void clear() { count_ = 0; }

    // Once 76 bytes have accumulated: looks for the answer to `request`. A complete one is
    // judged and the buffer emptied; an incomplete one is moved to the front to wait for the
    // rest; without one the bytes are dropped, except a last few that begin the MAC.
    Outcome judge(const ConfigRecord::Bytes& request);

private:
    std::array<std::uint8_t, kCapacity> bytes_{};
    std::size_t count_ = 0;
};

} // namespace zentrel
