#include "EdidFileCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace zentrel::edid {

namespace {

constexpr std::array<std::uint8_t, 8> kHeader{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kExtensionCount = 126;

bool sumsToZero(std::span<const std::uint8_t> block) {
    std::uint8_t sum = 0;
    for (std::uint8_t b : block) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return sum == 0;
}

} // namespace

EdidFileVerdict checkEdidFile(std::span<const std::uint8_t> file,
                              std::span<const std::uint8_t, kEdidSize> held) {
    using Kind = EdidFileVerdict::Kind;
    if (file.size() != kEdidSize && file.size() != kEdidBlockSize) {
        return {Kind::Refuse, 0};
    }
    // What the buffer would hold once the file is taken.
    std::array<std::uint8_t, kEdidSize> result{};
    std::copy(held.begin(), held.end(), result.begin());
    std::copy(file.begin(), file.end(), result.begin());
    const std::span<const std::uint8_t> bytes(result);
    if (!std::equal(kHeader.begin(), kHeader.end(), bytes.begin())) {
        return {Kind::Refuse, 0};
    }
    const std::uint8_t extensions = bytes[kExtensionCount];
    if (extensions >= 2) {
        return {Kind::Ignore, 0};
    }
    if (!sumsToZero(bytes.first(kEdidBlockSize))) {
        return {Kind::Refuse, 0};
    }
    if (extensions == 1 && !sumsToZero(bytes.subspan(kEdidBlockSize, kEdidBlockSize))) {
        return {Kind::Refuse, 0};
    }
    return {Kind::Accept, extensions == 1 ? kEdidSize : kEdidBlockSize};
}

std::optional<std::vector<std::uint8_t>> readEdidFile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p(path);
    if (!std::filesystem::is_regular_file(p, ec) || ec) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(p, ec);
    if (ec || (size != kEdidSize && size != kEdidBlockSize)) {
        return std::nullopt;
    }
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // One byte more than the size taken, so a file that grew since it was measured is noticed
    // instead of being cut to a size that happens to pass.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}

} // namespace zentrel::edid
