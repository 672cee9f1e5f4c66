#include "edid/EdidDecoder.h"

#include "edid/BaseBlockDecoder.h"
#include "edid/CtaBlockDecoder.h"

#include <algorithm>
#include <numeric>

namespace edidinfo {
namespace {
constexpr std::size_t blockSize = 128;
}

bool EdidInfo::valid() const {
    return problems.empty() && !checksumsOk.empty() &&
           std::all_of(checksumsOk.begin(), checksumsOk.end(), [](bool ok) { return ok; });
}

EdidInfo decodeEdid(std::span<const std::uint8_t> bytes) {
    EdidInfo info;
    info.bytes = bytes.size();
    if (bytes.size() < blockSize) {
        info.problems.push_back("The data holds " + std::to_string(bytes.size()) +
                                " bytes, less than one 128-byte block.");
        return info;
    }
    if (bytes.size() % blockSize != 0) {
        info.problems.push_back("The data's " + std::to_string(bytes.size()) +
                                " bytes are not a whole number of 128-byte blocks.");
    }
    const std::size_t blocks = bytes.size() / blockSize;
    for (std::size_t i = 0; i < blocks; ++i) {
        const auto block = bytes.subspan(i * blockSize, blockSize);
        const bool ok = std::accumulate(block.begin(), block.end(), 0u) % 256 == 0;
        info.checksumsOk.push_back(ok);
        if (!ok) {
            info.problems.push_back("Block " + std::to_string(i) + "'s checksum is wrong.");
        }
    }
    decodeBaseBlock(bytes.first<blockSize>(), info);
    // The count announced may differ from the blocks given: a 128-byte file stands for the base
    // block only, and the panel keeps the extension it holds. The report shows the count.
    if (blocks > 1) {
        const auto ext = bytes.subspan(blockSize).first<blockSize>();
        if (ext[0] == 0x02) { // other extensions are allowed but not read
            info.cta = decodeCtaBlock(ext, info.problems);
        }
    }
    return info;
}

} // namespace edidinfo
