// The real zentrel-matrix-sim, talked to over a real pseudo-terminal and over TCP on loopback.
#include "SimProcess.h"
#include "WireClient.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zentrel::sim::test;

namespace {

std::uint16_t tcpPortOf(SimProcess& sim) {
    const auto port = sim.waitFor(R"(listening on TCP 127\.0\.0\.1:(\d+))");
    return port ? static_cast<std::uint16_t>(std::stoi(*port)) : 0;
}

// Writes `request` and returns the hex of the next `n` bytes that come back.
std::string ask(int fd, const Bytes& request, std::size_t n = 13) {
    return writeAll(fd, request) ? hexBytes(readBytes(fd, n)) : "write failed";
}

} // namespace

TEST(SimProgram, SerialPortAnswersAndSurvivesThePanelReopeningIt) {
    SimProcess sim({"--com", "5", "--tcp", "127.0.0.1:0", "--fault", "unplug:in3"});
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    const std::filesystem::path link = sim.portLink(5);
    ASSERT_TRUE(std::filesystem::is_symlink(link));

    int fd = openSerial(link);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask(fd, frame({0x02, 0x03, 0x03, 0x00, 0x02})),
              hexBytes(frame({0x02, 0x03, 0x00, 0x00, 0x02})));
    ::close(fd);

    // The panel closes the port on a tab change and opens it again: the matrix is still there.
    for (int round = 0; round < 2; ++round) {
        fd = openSerial(link);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(ask(fd, frame({0x02, 0x01, 0x02})),
                  hexBytes(frame({0x02, 0x01, 0x02, 0x00, 0x03})));
        EXPECT_EQ(ask(fd, frame({0x01, 0x04, 0x03})),
                  hexBytes(frame({0x01, 0x04, 0x03, 0x00, 0xFF})));
        ::close(fd);
    }

    // Every frame is logged with its direction, link, bytes and name.
    EXPECT_TRUE(sim.waitFor(
        R"(in  COM5  A5 5B 02 03 03 00 02 00 00 00 00 00 F6  route input 3 to output B)"))
        << sim.log();
    EXPECT_TRUE(sim.waitFor(R"(out COM5  A5 5B 01 04 03 00 FF .*input 3: disconnected)"))
        << sim.log();

    EXPECT_EQ(sim.stop(SIGTERM), 0) << sim.errors();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(SimProgram, TcpAcceptsANewConnectionAfterTheOldOneCloses) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    const std::uint16_t port = tcpPortOf(sim);
    ASSERT_NE(port, 0) << sim.log() << sim.errors();

    int fd = connectLoopback(port);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask(fd, frame({0x06, 0x01, 0xF0})), hexBytes(frame({0x06, 0x01, 0x00})));
    ::close(fd);

    fd = connectLoopback(port);
    ASSERT_GE(fd, 0);
    // Two requests in one write, the second cut in half: both answered in order.
    Bytes two = frame({0x01, 0x0B});
    const Bytes second = frame({0x08, 0x0C});
    two.insert(two.end(), second.begin(), second.begin() + 6);
    ASSERT_TRUE(writeAll(fd, two));
    EXPECT_EQ(ask(fd, Bytes(second.begin() + 6, second.end()), 26),
              hexBytes(frame({0x01, 0x0B, 0x00, 0x00, 0xFF})) +
                  hexBytes(frame({0x08, 0x0C, 0x0F})));
    ::close(fd);
    EXPECT_TRUE(sim.waitFor("TCP2 +connection closed")) << sim.log();
    EXPECT_EQ(sim.stop(SIGINT), 0);
}

TEST(SimProgram, FaultKnobsFromTheCommandLine) {
    SimProcess sim({"--tcp", "127.0.0.1:0", "--fault", "stray:02.01,bytes=0011", "--fault",
                    "bad-checksum:01.01,times=1"});
    const std::uint16_t port = tcpPortOf(sim);
    ASSERT_NE(port, 0) << sim.errors();
    const int fd = connectLoopback(port);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask(fd, frame({0x02, 0x01, 0x01}), 15),
              "00 11 " + hexBytes(frame({0x02, 0x01, 0x01, 0x00, 0x01})));
    Bytes spoiled = frame({0x01, 0x01, 0x01});
    spoiled[12] = static_cast<std::uint8_t>(spoiled[12] + 1);
    EXPECT_EQ(ask(fd, frame({0x01, 0x01})), hexBytes(spoiled));
    ::close(fd);
    EXPECT_EQ(sim.stop(), 0);
}
