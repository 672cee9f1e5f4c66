// Discovery on real sockets with a real broadcast, between the panel's Discovery on the Qt
// backend and a plain UDP responder, inside a private network namespace. Nothing here
// broadcasts from the machine's own namespace: every socket is made in the child.
#include "PrivateNetwork.h"
#include "link/Discovery.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNetwork.h"
#include "unit/net/NetTestWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace zentrel;
using test::NetTestWindow;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes answer(std::array<std::uint8_t, 6> mac, std::array<std::uint8_t, 4> ip) {
    Bytes b(50, 0);
    std::copy(mac.begin(), mac.end(), b.begin());
    std::copy(ip.begin(), ip.end(), b.begin() + 6);
    b[18] = 0x77;
    b[19] = 0x88;
    return b;
}

int fail(int code, const char* what) {
    std::fprintf(stderr, "netns scenario: %s\n", what);
    return code;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A matrix stand-in on a plain socket: answers each probe on port 30600 by broadcasting the
// given answers, as a matrix that does not know the panel's address yet would.
class Responder {
public:
    Responder(std::vector<Bytes> answers, bool shareAddress)
        : answers_(std::move(answers)), share_(shareAddress) {}
    ~Responder() { stop(); }

    bool start() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        const int on = 1;
        if (share_) {
            ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        }
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        timeval tv{0, 50 * 1000};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(Discovery::kPort);
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            return false;
        }
        thread_ = std::thread([this] { run(); });
        return true;
    }
    void stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    int probesSeen() const { return probes_; }

private:
    void run() {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(Discovery::kPort);
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        // Bounded: 200 turns of at most 50 ms.
        for (int turn = 0; turn < 200 && !stop_; ++turn) {
            std::array<std::uint8_t, 2048> buf{};
            const ssize_t n = ::recv(fd_, buf.data(), buf.size(), 0);
            if (n != 1 || buf[0] != Discovery::kProbe) {
                continue; // a time-out, or our own answers coming back
            }
            ++probes_;
            for (const Bytes& b : answers_) {
                ::sendto(fd_, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            }
        }
    }

    std::vector<Bytes> answers_;
    bool share_;
    int fd_ = -1;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> probes_{0};
};

struct Panel {
    int argc = 1;
    char name[16] = "test_netns";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QtEventLoop loop;
    QtNetwork net{loop};
    SharedState state;
    NetTestWindow page{loop};
    NetTestWindow mainWindow{loop};
    Discovery discovery{net, state, page};

    Panel() {
        loop.setMainWindow(&mainWindow);
        page.handler = [this](unsigned msg, WParam wp, LParam lp) {
            if (msg == WM_DISCOVERY) {
                discovery.handleNotification(wp, lp);
            }
        };
    }
    int found() const {
        int n = 0;
        for (const auto& r : mainWindow.received) {
            n += r.msg == WM_APP_RESULT && r.wp == Discovery::kMatrixFound;
        }
        return n;
    }
};

int searchScenario() {
    Panel panel;
    // The first matrix's MAC begins with the probe's byte, behind the probe's own echo.
    Responder matrices({answer({0x61, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE}, {10, 1, 2, 3}),
                        answer({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, {10, 1, 2, 4})},
                       true);
    if (!matrices.start()) {
        return fail(2, "the responder could not bind port 30600");
    }
    if (panel.discovery.search() != Discovery::Start::Started) {
        return fail(3, "the search did not start");
    }
    if (!waitFor([&] { return panel.page.itemCount(Discovery::kIpList) == 2; }, 5000)) {
        std::fprintf(stderr, "listed %d, probes seen %d, bytes pending %zu\n",
                     panel.page.itemCount(Discovery::kIpList), matrices.probesSeen(),
                     panel.discovery.buffer().count());
        return fail(4, "two matrices were not listed within 5 s");
    }
    const auto& items = panel.page.control(Discovery::kIpList).items;
    if (items[0] != "10.1.2.3" || items[1] != "10.1.2.4" || panel.state.MatrixIp != "10.1.2.3") {
        return fail(5, "wrong addresses or order");
    }
    if (panel.state.SelectedMac != "61AABBCCDDEE" ||
        panel.state.DiscoveredMacs[1] != "001122334455") {
        return fail(6, "wrong MAC addresses");
    }
    if (panel.found() != 2 || matrices.probesSeen() != 1) {
        return fail(7, "wrong number of found-matrix messages or probes");
    }

    // The configuration's turn on the same socket object: broadcasting needs SO_BROADCAST.
    UdpSocket* config = panel.discovery.broadcastSocket().reopen("0.0.0.0", 30601);
    const Bytes record(76, 0);
    if (config == nullptr || config->sendTo(record, "255.255.255.255", 30601) != -1) {
        return fail(8, "a broadcast went out without SO_BROADCAST");
    }
    config->setBroadcast(true);
    if (config->sendTo(record, "255.255.255.255", 30601) != 76) {
        return fail(9, "the configuration record could not be broadcast");
    }
    return 0;
}

int busyPortScenario() {
    Panel panel;
    Responder exclusive({}, false); // holds port 30600 without sharing it
    if (!exclusive.start()) {
        return fail(2, "the exclusive socket could not bind port 30600");
    }
    if (panel.discovery.search() != Discovery::Start::BindFailed) {
        return fail(3, "a search on a busy port did not report the bind failure");
    }
    return 0;
}

void expectScenario(int (*scenario)()) {
    const test::ChildOutcome out = test::runInPrivateNetwork(scenario);
    if (!out.ran) {
        GTEST_SKIP() << "no private network namespace could be made (" << out.why
                     << "); broadcast tests run only inside one";
    }
    EXPECT_EQ(out.status, 0) << "the scenario failed in the child (see its message above); "
                                "-2 means it ran out of time, -3 that it crashed";
}

TEST(DiscoveryInPrivateNetwork, FindsTwoMatricesByRealBroadcast) {
    expectScenario(searchScenario);
}

TEST(DiscoveryInPrivateNetwork, ABusyPortFailsTheSearch) {
    expectScenario(busyPortScenario);
}

} // namespace
