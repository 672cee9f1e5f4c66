// The EDID file check as plain bytes and as the user meets it: which files are taken, which are
// refused with a word and which without, what a refused file leaves in place, and that a
// 128-byte file keeps the second block of the EDID before it.
#include "EdidFixture.h"
#include "operations/EdidFileBuffer.h"
#include "operations/EdidFileCheck.h"

using namespace zentrel;
using namespace zentrel::testing;
using edid::checkEdidFile;
using edid::EdidFileVerdict;
using Verdict = EdidFileVerdict::Kind;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes first128(const Bytes& e) {
    return Bytes(e.begin(), e.begin() + 128);
}

struct Held {
    std::array<std::uint8_t, 256> bytes{};
    EdidFileVerdict check(const Bytes& file) const { return checkEdidFile(file, bytes); }
};

// The accepted bytes as the send log shows them, 13 to a line.
std::string logged(const Bytes& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X ", bytes[i]);
        out += text;
        if (i % 13 == 12) {
            out += "\r\n";
        }
    }
    return out;
}

struct EdidFiles : EdidTest {
    EdidFiles() { openOverCom(); }
    // The Open button with the dialog answering `path`.
    void openFile(const std::string& path) {
        ui.answers.push_back(path);
        press(edid::kOpenFile);
    }
    Bytes held() const {
        const auto b = edid->file().buffer().bytes();
        return Bytes(b.begin(), b.end());
    }
};

} // namespace

TEST(EdidFileCheck, HeaderChecksumsAndExtensionCountDecide) {
    Held h;
    const Bytes good = goodEdid(1);
    EXPECT_EQ(h.check(good).kind, Verdict::Accept);
    EXPECT_EQ(h.check(good).used, 256u);
    EXPECT_EQ(h.check(goodEdid(0)).used, 128u);

    Bytes e = good;
    e[255] ^= 0x01; // the extension block no longer sums to 0
    EXPECT_EQ(h.check(e).kind, Verdict::Refuse);
    e = good;
    e[127] ^= 0x01; // the base block
    EXPECT_EQ(h.check(e).kind, Verdict::Refuse);
    e = good;
    e[7] = 0x01; // the header
    EXPECT_EQ(h.check(e).kind, Verdict::Refuse);
    // Without an extension block the second half is not looked at.
    e = goodEdid(0);
    e[200] ^= 0x5A;
    EXPECT_EQ(h.check(e).kind, Verdict::Accept);
    // Two extension blocks: neither taken nor refused aloud, even with good sums.
    e = goodEdid(2);
    EXPECT_EQ(h.check(e).kind, Verdict::Ignore);
}

TEST(EdidFileCheck, A128ByteFileIsJudgedWithTheSecondBlockAlreadyHeld) {
    Held h;
    const Bytes base = first128(goodEdid(1, 0x20));
    // Nothing held yet: the extension's sum over 128 zero bytes is 0, so it passes.
    EXPECT_EQ(h.check(base).kind, Verdict::Accept);
    const Bytes held = goodEdid(1, 0x40);
    std::copy(held.begin(), held.end(), h.bytes.begin());
    EXPECT_EQ(h.check(base).kind, Verdict::Accept);
    h.bytes[200] ^= 0x01; // the held extension block is broken now
    EXPECT_EQ(h.check(base).kind, Verdict::Refuse);
    EXPECT_EQ(h.check(first128(goodEdid(0))).kind, Verdict::Accept);

    edid::EdidFileBuffer buffer;
    buffer.accept(held);
    buffer.accept(base);
    const edid::EdidFileBuffer::Block block = buffer.block();
    EXPECT_EQ(block[0], 0x00);
    EXPECT_TRUE(std::equal(base.begin(), base.end(), block.begin() + 1));
    EXPECT_TRUE(std::equal(held.begin() + 128, held.end(), block.begin() + 129));
    EXPECT_TRUE(std::all_of(block.begin() + 257, block.end(), [](auto b) { return b == 0; }));
}

TEST_F(EdidFiles, AcceptedFileIsShownLoggedAndKeptRefusedOnesChangeNothing) {
    const Bytes good = goodEdid(1);
    const std::string goodPath = files.write("monitor.BIN", good);
    const std::string before = edid->text(edid::kSendLog); // the opening's refresh, 4 lines
    openFile(goodPath);
    EXPECT_EQ(ui.filters, (Names{"Binary file(*.BIN)|*.BIN||"}));
    EXPECT_EQ(edid->text(edid::kFilePath), goodPath);
    EXPECT_EQ(held(), good);
    EXPECT_EQ(edid->text(edid::kSendLog), before + logged(good));
    EXPECT_TRUE(popups.notices.empty());

    // Refused aloud: a bad checksum, sizes that are no EDID, a folder, a file that is gone.
    Bytes broken = good;
    broken[255] ^= 0x01;
    const std::int64_t start = now();
    openFile(files.write("broken.bin", broken));
    for (std::size_t size : {0u, 1u, 127u, 129u, 255u, 257u, 100000u}) {
        openFile(files.write("size" + std::to_string(size) + ".bin", Bytes(size, 0x00)));
    }
    openFile(files.path());
    openFile(files.path() + "/gone.bin");
    EXPECT_EQ(popups.noticeTexts(), Names(10, "Please select the correct EDID file!"));
    EXPECT_EQ(popups.notices.front().openedMs - start, 0);
    EXPECT_EQ(popups.notices.front().durationMs(), 1500);
    // Refused in silence: two extension blocks.
    popups.notices.clear();
    openFile(files.write("two.bin", goodEdid(2)));
    EXPECT_TRUE(popups.notices.empty());
    // A cancelled dialog changes nothing either.
    press(edid::kOpenFile);

    EXPECT_EQ(edid->text(edid::kFilePath), goodPath);
    EXPECT_EQ(held(), good);
    EXPECT_EQ(edid->text(edid::kSendLog), before + logged(good));
    EXPECT_TRUE(sent().empty());
}

TEST_F(EdidFiles, A128ByteFileAfterA256ByteOneReplacesOnlyTheFirstBlock) {
    const Bytes full = goodEdid(1, 0x31);
    const std::string before = edid->text(edid::kSendLog);
    openFile(files.write("full.bin", full));
    const Bytes other = goodEdid(1, 0x52);
    const std::string halfPath = files.write("half.bin", first128(other));
    openFile(halfPath);
    Bytes expected = first128(other);
    expected.insert(expected.end(), full.begin() + 128, full.end());
    EXPECT_EQ(held(), expected);
    EXPECT_EQ(edid->text(edid::kFilePath), halfPath);
    // With an extension count of 1 all 256 bytes the download will send are logged, the log
    // line running on from the first file's.
    Bytes both = full;
    both.insert(both.end(), expected.begin(), expected.end());
    EXPECT_EQ(edid->text(edid::kSendLog), before + logged(both));
}
