#pragma once
// The CTA-861 data blocks the decoder reads, each from its payload (the bytes after the header).
#include "edid/EdidInfo.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace edidinfo {

using Payload = std::span<const std::uint8_t>;

void decodeVideoBlock(Payload p, std::vector<VideoMode>& into);
void decodeAudioBlock(Payload p, CtaExtension& out, std::vector<std::string>& problems);
void decodeSpeakerBlock(Payload p, CtaExtension& out);
void decodeVendorBlock(Payload p, CtaExtension& out);
// Extended tag blocks: p[0] is the extended tag.
void decodeExtendedBlock(Payload p, CtaExtension& out, std::vector<std::string>& problems);

} // namespace edidinfo
