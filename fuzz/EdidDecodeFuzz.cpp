// Decodes arbitrary bytes as an EDID and renders every view of the result. The property: any
// input ends, and one that is not a valid EDID says why. Inputs of 128 and 256 bytes are taken
// as they are; others are cut or zero-padded to the nearer of the two, so the fuzzer spends its
// time inside the blocks rather than on the length check.
#include "edid/EdidDecoder.h"
#include "edid/EdidJson.h"
#include "edid/EdidText.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t length = size > 128 ? 256 : 128;
    std::vector<std::uint8_t> bytes(length, 0);
    std::copy_n(data, std::min(size, length), bytes.begin());
    const edidinfo::EdidInfo info = edidinfo::decodeEdid(bytes);
    if (info.checksumsOk.size() != length / 128) {
        std::abort();
    }
    const bool sumsRight =
        std::all_of(info.checksumsOk.begin(), info.checksumsOk.end(), [](bool ok) { return ok; });
    if (!sumsRight && info.problems.empty()) {
        std::abort(); // refused without a reason
    }
    if (edidinfo::edidReport(info).empty() || edidinfo::edidSummary(info).empty()) {
        std::abort();
    }
    (void)edidinfo::edidJson(info).dump();
    return 0;
}
