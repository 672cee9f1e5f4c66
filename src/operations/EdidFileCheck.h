#pragma once
// Whether the bytes of a file make an EDID the page may send. Plain functions over bytes, so
// they can be tried with any content.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrel::edid {

constexpr std::size_t kEdidSize = 256;
constexpr std::size_t kEdidBlockSize = 128;

struct EdidFileVerdict {
    enum class Kind {
        Accept, // take the file's bytes
        Refuse, // not an EDID: the user is told
        Ignore, // two or more extension blocks: nothing is taken and nothing is said
    };
    Kind kind = Kind::Refuse;
    // Accept: how many bytes of the result count, 128 without an extension block, 256 with one.
    std::size_t used = 0;
};

// `file` is the whole file. A 128-byte file stands for the first block; the second block is then
// the one `held` carries now, since accepting the file keeps it. A file of another length is
// refused before its content is looked at.
EdidFileVerdict checkEdidFile(std::span<const std::uint8_t> file,
                              std::span<const std::uint8_t, kEdidSize> held);

// The bytes of the file at `path` when it is a regular file of 128 or 256 bytes that can be read
// whole; nothing otherwise (a directory, a file of another length, an unreadable one). Never
// reads more than the file holds, nor more than 256 bytes of a larger one.
std::optional<std::vector<std::uint8_t>> readEdidFile(const std::string& path);

} // namespace zentrel::edid
