// What the page shows of the EDID file chosen, one file after the other: the summary of the file
// it holds, "Details..." with the whole decode of the file chosen last, and for a refused file
// the refusal as before and, in the details, why.
#include "EdidFixture.h"

using namespace zentrel;
using namespace zentrel::testing;

namespace {

std::vector<std::uint8_t> sample(const std::string& name) {
    std::ifstream in(EDID_SAMPLES "/bin/" + name + ".bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST_F(EdidTest, TheFileChosenIsSummedUpAndDetailedOrRefusedWithItsReasons) {
    openOverCom();
    EXPECT_FALSE(edid->isShown(edid::kFileSummary));
    EXPECT_FALSE(edid->isShown(edid::kFileDetails));

    std::vector<std::uint8_t> broken = sample("pioneer_pio1157_519f8ca86ec0");
    broken[200] ^= 0x01;
    const std::string receiver =
        "AV Receiver by PIO, 3840x2160 30.00 Hz, HDR (SDR, PQ, HLG)\n"
        "LPCM 7.1, AC-3 5.1, DTS 7.1, One Bit Audio 5.1, E-AC-3 7.1, DTS-HD 7.1, MAT 7.1";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> file;
        bool refused;
        std::string summary; // what the page shows after it
        std::string detail;  // a line of the details
    };
    const std::vector<Case> cases = {
        {"a receiver with HDR", sample("pioneer_pio1157_519f8ca86ec0"), false, receiver,
         "Name: AV Receiver\n"},
        {"its extension's checksum broken", broken, true, receiver,
         "Please select the correct EDID file! This file was not taken:\n"
         "  Block 1's checksum is wrong.\n"},
        {"too short", std::vector<std::uint8_t>(100, 0), true, receiver,
         "  It holds 100 bytes; an EDID file holds 128 or 256.\n"},
        // A base block that announces an extension goes with the extension held, and the
        // summary tells what the download would send; one without an extension stands alone.
        {"a base block announcing an extension", sample("onkyo_onk1130_ba483d977db8"), false,
         "AV Receiver by ONK, 1920x1080 60.00 Hz, HDR (SDR, PQ, HLG)\n"
         "LPCM 7.1, AC-3 5.1, DTS 7.1, One Bit Audio 5.1, E-AC-3 7.1, DTS-HD 7.1, MAT 7.1",
         "Extension blocks: 1\n"},
        {"a base block alone", sample("acer_acr0337_881991891438"), false,
         "B226HQL by ACR, 1920x1080 60.00 Hz", "Extension blocks: 0\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = files.write(std::to_string(++n) + ".bin", c.file);
        popups.notices.clear();
        ui.answers.push_back(path);
        press(edid::kOpenFile);
        EXPECT_EQ(popups.noticeTexts(),
                  c.refused ? Names{"Please select the correct EDID file!"} : Names{});
        EXPECT_EQ(edid->text(edid::kFileSummary), c.summary);
        EXPECT_TRUE(edid->isShown(edid::kFileSummary));
        ASSERT_TRUE(edid->isShown(edid::kFileDetails));

        press(edid::kFileDetails);
        edid::EdidDetailsWindow& details = edid->inspector().details();
        EXPECT_TRUE(details.isVisible());
        EXPECT_EQ(details.text(edid::kDetailsHeading), (c.refused ? "Not taken: " : "") + path);
        EXPECT_NE(details.text(edid::kDetailsText).find(c.detail), std::string::npos)
            << details.text(edid::kDetailsText);
        details.click(edid::kDetailsCopyAll);
        EXPECT_EQ(ui.clipboard, details.text(edid::kDetailsText));
        details.onCancel();
        EXPECT_FALSE(details.isVisible());
    }
}
