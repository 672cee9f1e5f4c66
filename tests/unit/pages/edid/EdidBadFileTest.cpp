// A file that begins as a good EDID but runs on for 200,001 bytes, and a path that loops: both
// refused aloud, whatever the first 256 bytes say, and the EDID held before stays.
#include "EdidFixture.h"
#include "EdidSamples.h"

using namespace zentrel;
using namespace zentrel::testing;

TEST_F(EdidTest, AnOversizedFileWithAGoodStartAndALoopingPathAreRefused) {
    openOverCom();
    auto openFile = [&](const std::string& path) {
        ui.answers.push_back(path);
        press(edid::kOpenFile);
    };
    const std::vector<std::uint8_t> good = goodEdid(1);
    openFile(files.write("good.bin", good));
    std::vector<std::uint8_t> longer = goodEdid(1, 0x20);
    longer.resize(200'001, 0x00);
    const std::filesystem::path loop = std::filesystem::path(files.path()) / "loop.bin";
    std::filesystem::create_symlink(loop, loop);
    for (const std::string& path : {files.write("long.bin", longer), loop.string()}) {
        SCOPED_TRACE(path);
        popups.notices.clear();
        openFile(path);
        EXPECT_EQ(popups.noticeTexts(), Names{"Please select the correct EDID file!"});
        const auto held = edid->file().buffer().bytes();
        EXPECT_TRUE(std::equal(good.begin(), good.end(), held.begin()));
    }
}
