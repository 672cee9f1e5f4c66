// Discovery and network configuration of the real zentrel-matrix-sim by UDP broadcast. The
// broadcasts must never leave the host, so the test first moves itself into a private network
// namespace with only loopback (255.255.255.255 routed to it) and skips when it cannot.
#include "SimProcess.h"
#include "WireClient.h"
#include "PrivateNetwork.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace zentrel::sim::test;

namespace {

// Broadcasts `bytes` from a socket bound to `port` the way the panel binds it (address reuse and
// broadcast), and returns the first datagram of `size` bytes whose byte 74 is not FF (a
// configuration request) that comes back within two seconds.
Bytes broadcastAndReceive(std::uint16_t port, const Bytes& bytes, std::size_t size) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in a{AF_INET, htons(port), {htonl(INADDR_ANY)}, {}};
    Bytes buf(2048);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        a.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
        for (pollfd p{fd, POLLIN, 0}; ::poll(&p, 1, 2000) > 0;) {
            const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
            if (n == static_cast<ssize_t>(size) && (size < 75 || buf[74] != 0xFF)) {
                ::close(fd);
                buf.resize(size);
                return buf;
            }
        }
    }
    ::close(fd);
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

    Bytes rec = broadcastAndReceive(30600, {0x61}, 55);
    ASSERT_EQ(rec.size(), 55u) << sim.log();
    EXPECT_EQ(hexBytes(Bytes(rec.begin(), rec.begin() + 10)), "02 5A 45 4E 00 07 7F 00 00 01 ");
    EXPECT_EQ(rec[18], 0x77);
    EXPECT_EQ(rec[19], 0x88);

    // A static address and a new MAC for this unit.
    Bytes req{0x02, 0x5A, 0x45, 0x4E, 0x00, 0x07, 127,  0,    0,    9,    127,  0,    0,
              1,    255,  255,  255,  0,    0,    0x02, 0x00, 0x00, 0x00, 0x00, 0x42, 0x17};
    req.resize(76);
    req[74] = 0xFF;
    req[75] = std::accumulate(req.begin(), req.begin() + 75, std::uint8_t{0});
    const Bytes answer = broadcastAndReceive(30601, req, 76);
    ASSERT_EQ(answer.size(), 76u) << sim.log();
    EXPECT_EQ(answer[74], 0x00);

    rec = broadcastAndReceive(30600, {0x61}, 55);
    ASSERT_EQ(rec.size(), 55u);
    EXPECT_EQ(hexBytes(Bytes(rec.begin(), rec.begin() + 10)), "02 00 00 00 00 42 7F 00 00 09 ");
    EXPECT_EQ(sim.stop(), 0);
}
