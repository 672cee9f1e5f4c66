#include "EdidTexts.h"

#include <array>

namespace zentrel::edid {

namespace {

constexpr std::array<const char*, kChoiceCount> kChoices{
    "1080i,Stereo Audio 2.0", "1080i,Dolby/DTS 5.1", "1080i,HD Audio 7.1",
    "1080p,Stereo Audio 2.0", "1080p,Dolby/DTS 5.1", "1080p,HD Audio 7.1",
    "3D,Stereo Audio 2.0",    "3D,Dolby/DTS 5.1",    "3D,HD Audio 7.1",
    "4K2K,Stereo Audio 2.0",  "4K2K,Dolby/DTS 5.1",  "4K2K,HD Audio 7.1",
    "DVI 1024X768 ",          "DVI 1920X1080 ",      "DVI 1920X1200 ",
    kDefaultEdidText};

constexpr std::array<const char*, 19> kStatusTexts{
    "1080i,Stereo Audio 2.0", "1080i,Dolby/DTS 5.1", "1080i,HD Audio 7.1",
    "1080p,Stereo Audio 2.0", "1080p,Dolby/DTS 5.1", "1080p,HD Audio 7.1",
    "3D,Stereo Audio 2.0",    "3D,Dolby/DTS 5.1",    "3D,HD Audio 7.1",
    "4K2K,Stereo Audio 2.0",  "4K2K,Dolby/DTS 5.1",  "4K2K,HD Audio 7.1",
    "DVI 1024X768",           "DVI 1920X1080",       "DVI 1920X1200",
    "Copy HDMI OUT A",        "Copy HDMI OUT B",     "Copy HDMI OUT C",
    "Copy HDMI OUT D"};

} // namespace

const char* choiceText(int p) {
    return p >= 0 && p < kChoiceCount ? kChoices[static_cast<std::size_t>(p)] : "";
}

const char* statusText(std::uint8_t code) {
    return code < kStatusTexts.size() ? kStatusTexts[code] : "User define";
}

std::string inputItem(int k) {
    return "IN" + std::to_string(k);
}

std::string outputLetter(int position) {
    return std::string(1, static_cast<char>('A' + position));
}

std::string notConnectedText(int position) {
    return "HDMI OUT " + outputLetter(position) + " is not connected" + "!";
}

const char* progressBase(Operation op) {
    switch (op) {
    case Operation::SetMode:
        return "Setting ";
    case Operation::Copy:
        return "Copying ";
    case Operation::Download:
        return "Downloading ";
    case Operation::Status:
        return "Getting status ";
    default:
        return "";
    }
}

std::string progressStart(Operation op) {
    return std::string(progressBase(op)) + ". . .";
}

} // namespace zentrel::edid
