// Discovery and network configuration of the real zentrel-matrix-sim by UDP broadcast. The
// broadcasts must never leave the host, so the test first moves itself into a private network
// namespace with only loopback (255.255.255.255 routed to it) and skips when it cannot.
#include "SimProcess.h"
#include "WireClient.h"
#include "netns/PrivateNetwork.h"

#include <gtest/gtest.h>

using namespace zentrel::sim::test;

namespace {

// A UDP socket bound the way the panel binds it: address reuse and broadcast.
int udpSocket(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void broadcast(int fd, const Bytes& bytes, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

// The first datagram of `size` bytes that passes `accept`, within two seconds.
Bytes receive(int fd, std::size_t size, const std::function<bool(const Bytes&)>& accept) {
    for (int tries = 0; tries < 20; ++tries) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        Bytes buf(2048);
        const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
        if (n == static_cast<ssize_t>(size)) {
            buf.resize(size);
            if (accept(buf)) {
                return buf;
            }
        }
    }
    return {};
}

} // namespace

TEST(SimProgramNetns, DiscoveryAndConfigurationByBroadcast) {
    const std::string why = zentrel::test::enterPrivateNetwork();
    if (!why.empty()) {
        GTEST_SKIP() << "no private network namespace (" << why
                     << "); broadcasts are only sent inside one";
    }
    SimProcess sim({"--udp", "--tcp", "127.0.0.1:0", "--mac", "02:5A:45:4E:00:07"});
    ASSERT_TRUE(sim.waitFor("answering discovery")) << sim.log() << sim.errors();

    const int disc = udpSocket(30600);
    ASSERT_GE(disc, 0);
    broadcast(disc, {0x61}, 30600);
    Bytes rec = receive(disc, 55, [](const Bytes&) { return true; });
    ASSERT_EQ(rec.size(), 55u) << sim.log();
    EXPECT_EQ(hex(Bytes(rec.begin(), rec.begin() + 10)), "02 5A 45 4E 00 07 7F 00 00 01");
    EXPECT_EQ(rec[18], 0x77);
    EXPECT_EQ(rec[19], 0x88);
    ::close(disc);

    // A static address and a new MAC for this unit.
    Bytes req(76, 0);
    const Bytes mac{0x02, 0x5A, 0x45, 0x4E, 0x00, 0x07};
    std::copy(mac.begin(), mac.end(), req.begin());
    const Bytes fields{127, 0, 0, 9, 127, 0, 0, 1, 255, 255, 255, 0, 0};
    std::copy(fields.begin(), fields.end(), req.begin() + 6);
    const Bytes newMac{0x02, 0x00, 0x00, 0x00, 0x00, 0x42};
    std::copy(newMac.begin(), newMac.end(), req.begin() + 19);
    req[25] = 0x17;
    req[74] = 0xFF;
    std::uint8_t sum = 0;
    for (int i = 0; i < 75; ++i) {
        sum = static_cast<std::uint8_t>(sum + req[static_cast<std::size_t>(i)]);
    }
    req[75] = sum;
    const int cfg = udpSocket(30601);
    ASSERT_GE(cfg, 0);
    broadcast(cfg, req, 30601);
    const Bytes answer = receive(cfg, 76, [](const Bytes& b) { return b[74] != 0xFF; });
    ASSERT_EQ(answer.size(), 76u) << sim.log();
    EXPECT_EQ(answer[74], 0x00);
    ::close(cfg);

    const int again = udpSocket(30600);
    broadcast(again, {0x61}, 30600);
    rec = receive(again, 55, [](const Bytes&) { return true; });
    ASSERT_EQ(rec.size(), 55u);
    EXPECT_EQ(hex(Bytes(rec.begin(), rec.begin() + 10)), "02 00 00 00 00 42 7F 00 00 09");
    ::close(again);
    EXPECT_EQ(sim.stop(), 0);
}
