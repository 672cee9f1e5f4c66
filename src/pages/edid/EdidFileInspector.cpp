#include "EdidFileInspector.h"

#include "EdidPage.h"
#include "edid/EdidDecoder.h"
#include "edid/EdidText.h"
#include "operations/EdidFileCheck.h"
#include "platform/Platform.h"

#include <filesystem>
#include <system_error>

namespace zentrel::edid {

namespace {

// Why a file could not be taken before its content was looked at.
std::string unreadableReason(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return "It is not a file that can be read.";
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size != kEdidSize && size != kEdidBlockSize) {
        return "It holds " + std::to_string(size) + " bytes; an EDID file holds 128 or 256.";
    }
    return "It could not be read whole.";
}

} // namespace

EdidFileInspector::EdidFileInspector(EdidPage& page)
    : page_(page), details_(page.context().platform.loop, page.context().platform.ui) {}

void EdidFileInspector::taken(const std::string& path, std::span<const std::uint8_t> held) {
    const edidinfo::EdidInfo info = edidinfo::decodeEdid(held);
    page_.setText(kFileSummary, edidinfo::edidSummary(info));
    page_.showControl(kFileSummary);
    details_.setContent(path, edidinfo::edidReport(info));
    page_.showControl(kFileDetails);
}

void EdidFileInspector::refused(const std::string& path,
                                const std::optional<std::vector<std::uint8_t>>& file) {
    // The reasons come last, where the box shows its text from, after the decode they are in.
    std::string text;
    std::vector<std::string> why;
    if (!file) {
        why.push_back(unreadableReason(path));
    } else {
        const edidinfo::EdidInfo info = edidinfo::decodeEdid(*file);
        text = edidinfo::edidReport(info) + "\n";
        why = info.problems;
        if (why.empty()) {
            why.push_back("The page's EDID check does not take it.");
        }
    }
    text += std::string(kBadFile) + " This file was not taken:\n";
    for (const std::string& w : why) {
        text += "  " + w + "\n";
    }
    details_.setContent("Not taken: " + path, text);
    page_.showControl(kFileDetails);
}

void EdidFileInspector::openDetails() {
    details_.open(page_.context().mainWindow.geometry());
}

} // namespace zentrel::edid
