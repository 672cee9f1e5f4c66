#include "edid/CtaBlockDecoder.h"

#include "edid/CtaDataBlocks.h"
#include "edid/DetailedTimingDecoder.h"

namespace edidinfo {

CtaExtension decodeCtaBlock(std::span<const std::uint8_t, 128> b,
                            std::vector<std::string>& problems) {
    CtaExtension cta;
    cta.revision = b[1];
    const int dtdStart = b[2];
    cta.underscan = (b[3] & 0x80) != 0;
    cta.basicAudio = (b[3] & 0x40) != 0;
    cta.ycbcr444 = (b[3] & 0x20) != 0;
    cta.ycbcr422 = (b[3] & 0x10) != 0;
    cta.nativeDetailed = b[3] & 0x0f;
    if (dtdStart == 0) {
        return cta; // neither data blocks nor timings
    }
    if (dtdStart < 4 || dtdStart > 127) {
        problems.push_back("The CTA extension's timing offset " + std::to_string(dtdStart) +
                           " lies outside the block.");
        return cta;
    }
    std::size_t at = 4;
    while (at < static_cast<std::size_t>(dtdStart)) {
        const int tag = b[at] >> 5;
        const std::size_t length = b[at] & 0x1f;
        if (at + 1 + length > static_cast<std::size_t>(dtdStart)) {
            problems.push_back("A CTA data block at byte " + std::to_string(at) +
                               " runs past the data block collection.");
            break;
        }
        const Payload p = b.subspan(at + 1, length);
        switch (tag) {
        case 1:
            decodeAudioBlock(p, cta, problems);
            break;
        case 2:
            decodeVideoBlock(p, cta.video);
            break;
        case 3:
            decodeVendorBlock(p, cta);
            break;
        case 4:
            decodeSpeakerBlock(p, cta);
            break;
        case 7:
            decodeExtendedBlock(p, cta, problems);
            break;
        default:
            break;
        }
        at += 1 + length;
    }
    for (std::size_t d = dtdStart; d + 18 <= 127; d += 18) {
        const auto descriptor = b.subspan(d).first<18>();
        if (descriptor[0] == 0 && descriptor[1] == 0) {
            break; // padding follows the last timing
        }
        cta.detailed.push_back(decodeDetailedTiming(descriptor));
    }
    return cta;
}

} // namespace edidinfo
