// Discovery on real sockets with a real broadcast, between the panel's Discovery on the Qt
// backend and a plain UDP responder, inside a private network namespace. Every socket is made in
// the forked child, after the namespace is in place: nothing broadcasts from the machine's own.
#include "NetTestWindow.h"
#include "PrivateNetwork.h"
#include "link/Discovery.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

using namespace zentrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

using test::discoveryAnswer;

int fail(int code, const char* what) {
    std::fprintf(stderr, "netns scenario: %s\n", what);
    return code;
}

// A matrix stand-in on a plain socket bound to port 30600: it answers each probe by
// broadcasting `answers`, as a matrix that does not know the panel's address would.
struct Responder {
    Responder(std::vector<Bytes> sent, bool shareAddress) : answers(std::move(sent)) {
        const int on = 1;
        if (shareAddress) {
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        }
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        timeval tv{0, 50 * 1000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        sockaddr_in a{AF_INET, htons(Discovery::kPort), {htonl(INADDR_ANY)}, {}};
        bound = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        thread = std::thread([this] { run(); });
    }
    ~Responder() {
        stop = true;
        thread.join();
        ::close(fd);
    }
    void run() {
        sockaddr_in to{AF_INET, htons(Discovery::kPort), {htonl(INADDR_BROADCAST)}, {}};
        for (int turn = 0; turn < 200 && !stop && bound; ++turn) { // at most 200 x 50 ms
            std::array<std::uint8_t, 2048> buf{};
            if (::recv(fd, buf.data(), buf.size(), 0) != 1 || buf[0] != Discovery::kProbe) {
                continue; // a time-out, or our own answers coming back
            }
            ++probes;
            for (const Bytes& b : answers) {
                ::sendto(fd, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            }
        }
    }
    const std::vector<Bytes> answers;
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    bool bound = false;
    std::atomic<bool> stop{false};
    std::atomic<int> probes{0};
    std::thread thread;
};

struct Panel {
    int argc = 1;
    char* argv[2] = {const_cast<char*>("test_netns"), nullptr};
    QCoreApplication app{argc, argv};
    QtEventLoop loop;
    QtNetwork net{loop};
    SharedState state;
    test::NetTestWindow page{loop};
    Discovery discovery{net, state, page};

    Panel() {
        page.handler = [this](unsigned, WParam wp, LParam lp) {
            discovery.handleNotification(wp, lp);
        };
    }
    bool waitForEntries(int n) {
        QElapsedTimer t;
        t.start();
        while (page.itemCount(Discovery::kIpList) < n && t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return page.itemCount(Discovery::kIpList) == n;
    }
};

int searchScenario() {
    Panel panel;
    // The first matrix's MAC begins with the probe's byte and arrives behind the probe's echo.
    Responder matrices({discoveryAnswer({0x61, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}, {10, 1, 2, 3}),
                        discoveryAnswer({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, {10, 1, 2, 4})},
                       true);
    if (!matrices.bound || panel.discovery.search() != Discovery::Start::Started) {
        return fail(2, "the responder or the search could not start");
    }
    if (!panel.waitForEntries(2)) {
        std::fprintf(stderr, "listed %d, probes seen %d, bytes pending %zu\n",
                     panel.page.itemCount(Discovery::kIpList), matrices.probes.load(),
                     panel.discovery.buffer().count());
        return fail(3, "two matrices were not listed within 5 s");
    }
    const auto& items = panel.page.control(Discovery::kIpList).items;
    if (items[0] != "10.1.2.3" || items[1] != "10.1.2.4" || panel.state.MatrixIp != "10.1.2.3" ||
        panel.state.SelectedMac != "61AABBCCDDEE" ||
        panel.state.DiscoveredMacs[1] != "001122334455") {
        return fail(4, "wrong addresses, order or MAC addresses");
    }
    // The configuration's turn on the same socket object: a broadcast needs SO_BROADCAST.
    UdpSocket* config = panel.discovery.broadcastSocket().reopen("0.0.0.0", 30601);
    const Bytes record(76, 0);
    if (config == nullptr || config->sendTo(record, "255.255.255.255", 30601) != -1) {
        return fail(5, "a broadcast went out without SO_BROADCAST");
    }
    config->setBroadcast(true);
    if (config->sendTo(record, "255.255.255.255", 30601) != 76) {
        return fail(6, "the configuration record could not be broadcast");
    }
    return 0;
}

int busyPortScenario() {
    Panel panel;
    Responder exclusive({}, false); // holds port 30600 without sharing it
    if (!exclusive.bound || panel.discovery.search() != Discovery::Start::BindFailed) {
        return fail(2, "a search on a busy port did not report the bind failure");
    }
    return 0;
}

void expectScenario(int (*scenario)()) {
    const test::ChildOutcome out = test::runInPrivateNetwork(scenario);
    if (!out.ran) {
        GTEST_SKIP() << "no private network namespace could be made (" << out.why
                     << "); broadcast tests run only inside one";
    }
    EXPECT_EQ(out.status, 0) << "the scenario failed in the child (its message is above); "
                                "-2: it ran out of time, -3: it crashed";
}

TEST(DiscoveryInPrivateNetwork, FindsTwoMatricesByRealBroadcast) {
    expectScenario(searchScenario);
}

TEST(DiscoveryInPrivateNetwork, ABusyPortFailsTheSearch) {
    expectScenario(busyPortScenario);
}

} // namespace
