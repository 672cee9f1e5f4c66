// Round trips over a pseudo-terminal: a thread at the master answers every 13-byte frame with
// 13 bytes. The panel's SerialChannel (the UI thread's loop watching the port, one message per
// byte) runs beside a plain blocking write/read loop on the slave.
#include "LinkBench.h"

#include "WakeEvent.h"
#include "link/SerialChannel.h"
#include "platform/Window.h"
#include "platform/posix/ComPortNames.h"
#include "platform/qt/QtEventLoop.h"

#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace zentrel::bench {

namespace {

constexpr int kBenchCom = 9;

// The far end: a pseudo-terminal published as COM9, echoing each whole frame.
class PtyEcho {
public:
    PtyEcho() {
        char name[128] = {};
        int slave = -1;
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
            return;
        }
        close(slave);
        termios t{};
        tcgetattr(master_, &t);
        cfmakeraw(&t);
        tcsetattr(master_, TCSANOW, &t);
        slavePath_ = name;
        link_ = comPortDirectory() / ("COM" + std::to_string(kBenchCom));
        std::filesystem::remove(link_);
        std::filesystem::create_symlink(slavePath_, link_);
        thread_ = std::jthread([this](std::stop_token stop) { echo(stop); });
    }
    ~PtyEcho() {
        thread_.request_stop();
        stopWake_.signal();
        if (thread_.joinable()) {
            thread_.join();
        }
        std::filesystem::remove(link_);
        if (master_ >= 0) {
            close(master_);
        }
    }
    bool ok() const { return master_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }

private:
    void echo(const std::stop_token& stop) {
        std::uint8_t frame[kFrameSize];
        std::size_t have = 0;
        while (!stop.stop_requested()) {
            pollfd p[2] = {{master_, POLLIN, 0}, {stopWake_.fd(), POLLIN, 0}};
            if (poll(p, 2, -1) <= 0 || (p[0].revents & POLLIN) == 0) {
                continue;
            }
            const ssize_t n = read(master_, frame + have, kFrameSize - have);
            if (n <= 0) {
                continue;
            }
            have += static_cast<std::size_t>(n);
            if (have == kFrameSize) {
                [[maybe_unused]] ssize_t w = write(master_, frame, kFrameSize);
                have = 0;
            }
        }
    }

    int master_ = -1;
    std::string slavePath_;
    std::filesystem::path link_;
    WakeEvent stopWake_;
    std::jthread thread_;
};

// Counts the bytes the channel hands over, as a page's reply assembler would take them.
class Receiver : public Window {
public:
    explicit Receiver(EventLoop& loop) : Window(loop) {}
    LParam onMessage(unsigned msg, WParam, LParam) override {
        if (msg == WM_SERIAL_BYTE) {
            ++received;
        }
        return 0;
    }
    std::size_t received = 0;
};

// Opens the channel on the echoing pseudo-terminal as a page connects: 115200 8N2.
bool startChannel(benchmark::State& state, const PtyEcho& echo, SerialChannel& channel,
                  Window& page) {
    if (echo.ok() && channel.open(page, kBenchCom, SerialSettings{115200, 'N', 8, 2}) &&
        channel.start()) {
        return true;
    }
    state.SkipWithError("no pseudo-terminal");
    return false;
}

void serialChannelRoundTrip(benchmark::State& state) {
    PtyEcho echo;
    Receiver page(uiLoop());
    SerialChannel channel(uiLoop());
    if (!startChannel(state, echo, channel, page)) {
        return;
    }
    for (auto _ : state) {
        page.received = 0;
        channel.write(requestFrame());
        if (!runUiUntil(state, [&] { return page.received == kFrameSize; })) {
            break;
        }
    }
    countFrames(state);
}

void plainSerialRoundTrip(benchmark::State& state) {
    PtyEcho echo;
    const int fd = echo.ok() ? open(echo.slavePath().c_str(), O_RDWR | O_NOCTTY) : -1;
    if (fd < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    std::uint8_t reply[kFrameSize];
    for (auto _ : state) {
        if (write(fd, requestFrame().data(), kFrameSize) != static_cast<ssize_t>(kFrameSize)) {
            state.SkipWithError("write failed");
            break;
        }
        std::size_t have = 0;
        while (have < kFrameSize) {
            const ssize_t n = read(fd, reply + have, kFrameSize - have);
            if (n <= 0) {
                break;
            }
            have += static_cast<std::size_t>(n);
        }
        if (have != kFrameSize) {
            state.SkipWithError("read failed");
            break;
        }
    }
    countFrames(state);
    close(fd);
}

BENCHMARK(serialChannelRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(plainSerialRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond);

const bool registered =
    addPair({"serial over a pseudo-terminal", "serialChannelRoundTrip", "plainSerialRoundTrip"});

} // namespace

} // namespace zentrel::bench
