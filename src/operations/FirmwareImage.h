#pragma once
// The loaded firmware: up to 200,000 bytes after de-scrambling, with the part markers that
// divide it and the 256-byte blocks it is sent in. Plain bytes in, plain bytes out, so every
// rule here can be exercised without a page or a file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zentrel {

// The two bytes that open a part.
enum class PartMarker { None, Part1, Part2, Part3, Part4 };

class FirmwareImage {
public:
    static constexpr std::size_t kCapacity = 200'000;
    static constexpr std::size_t kBlockBytes = 256;

    enum class Load { Loaded, TooLarge };

    // Takes the file's bytes and de-scrambles them. The whole buffer beyond the file is
    // cleared, so the padding of a part's last block never carries an earlier file. A file
    // longer than the buffer is refused and the image stays as it was.
    Load load(std::span<const std::uint8_t> file);

    // Scrambling and de-scrambling are the same: every byte XOR (length mod 256) XOR D6.
    static std::uint8_t key(std::size_t length);
    static void descramble(std::span<std::uint8_t> bytes);

    std::size_t length() const { return length_; }
    // Image byte `offset`; 0 beyond the buffer (a part's last block may reach past it).
    std::uint8_t at(std::size_t offset) const {
        return offset < kCapacity ? buffer_[offset] : std::uint8_t{0};
    }
    PartMarker markerAt(std::size_t offset) const;
    // The first offset at or after `from` where a Part_2 or Part 3 marker begins (A3 or A4,
    // then 5B or 5C), or the length when there is none.
    std::size_t partEnd(std::size_t from) const;

private:
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kCapacity, 0);
    std::size_t length_ = 0;
};

} // namespace zentrel
