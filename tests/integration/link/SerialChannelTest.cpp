// The serial channel on real pseudo-terminals: the test holds the master side as the matrix
// would, and publishes the slave as COM3 in a private port directory.
#include "link/SerialChannel.h"
#include "platform/Window.h"
#include "platform/posix/ComPortNames.h"
#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace zentrel;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr SerialSettings k8N2{115200, 'N', 8, 2};
const std::vector<std::uint8_t> kFrame{0xA5, 0x5B, 0x02, 0x03, 0x03, 0x00, 0x02,
                                       0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};

class Recorder : public Window {
public:
    explicit Recorder(EventLoop& loop) : Window(loop) {}
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override {
        messages.push_back({msg, wp, lp});
        if (onAny) {
            onAny();
        }
        return 0;
    }
    struct Message {
        unsigned msg;
        WParam wp;
        LParam lp;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;
    std::function<void()> onAny;
};

class SerialChannelOnPty : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_serial_channel";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }

    void SetUp() override {
        runtime = fs::temp_directory_path() / ("zentrel-serial-" + std::to_string(getpid()));
        fs::create_directories(runtime / "zentrel" / "ports");
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        char slaveName[128] = {};
        ASSERT_EQ(openpty(&master, &slave, slaveName, nullptr, nullptr), 0);
        fs::create_symlink(slaveName, comPortDirectory() / "COM3");
        fs::create_symlink("/nonexistent/tty", comPortDirectory() / "COM6");
        loop = std::make_unique<QtEventLoop>();
        page = std::make_unique<Recorder>(*loop);
        mainWindow = std::make_unique<Recorder>(*loop);
        loop->setMainWindow(mainWindow.get());
    }

    void TearDown() override {
        page.reset();
        mainWindow.reset();
        loop.reset();
        if (master >= 0) {
            close(master);
        }
        close(slave);
        fs::remove_all(runtime);
    }

    // Runs the UI thread's events until `done` holds; false after `limit`.
    static bool pumpUntil(const std::function<bool()>& done,
                          std::chrono::milliseconds limit = 2000ms) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }

    // Runs the UI thread's events for a while, to see that nothing (more) arrives.
    static void pumpFor(std::chrono::milliseconds span) {
        pumpUntil([] { return false; }, span);
    }

    // Reads n bytes at the master side while the UI thread runs (it writes what the port's
    // output buffer could not take at once), giving up after `quiet` without any.
    std::vector<std::uint8_t> readMaster(std::size_t n,
                                         std::chrono::milliseconds quiet = 2000ms) const {
        std::vector<std::uint8_t> got(n);
        std::size_t at = 0;
        auto lastByte = std::chrono::steady_clock::now();
        while (at < n && std::chrono::steady_clock::now() - lastByte < quiet) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 1) != 1) {
                continue;
            }
            const ssize_t r = read(master, got.data() + at, n - at);
            if (r <= 0) {
                break;
            }
            at += static_cast<std::size_t>(r);
            lastByte = std::chrono::steady_clock::now();
        }
        got.resize(at);
        return got;
    }

    void writeMaster(const std::vector<std::uint8_t>& bytes) const {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Bytes received at the slave that nobody has read yet.
    int unreadAtPort() const {
        int n = 0;
        ioctl(slave, FIONREAD, &n);
        return n;
    }

    std::vector<Recorder::Message> bytesFor(std::initializer_list<std::uint8_t> bytes) const {
        std::vector<Recorder::Message> m;
        for (std::uint8_t b : bytes) {
            m.push_back({WM_SERIAL_BYTE, b, 3});
        }
        return m;
    }

    fs::path runtime;
    int master = -1;
    int slave = -1;
    std::unique_ptr<QtEventLoop> loop;
    std::unique_ptr<Recorder> page;
    std::unique_ptr<Recorder> mainWindow;
};

} // namespace

TEST_F(SerialChannelOnPty, OpenIsExclusiveConfiguresAndReopenLetsGo) {
    SerialChannel first(*loop);
    SerialChannel second(*loop);
    EXPECT_FALSE(first.open(*page, 6, k8N2)) << "a COM link whose device is missing";
    EXPECT_FALSE(first.open(*page, 20, k8N2)) << "no such COM number";
    EXPECT_FALSE(first.isOpen());

    ASSERT_TRUE(first.open(*page, 3, k8N2));
    EXPECT_FALSE(second.open(*page, 3, k8N2))
        << (geteuid() == 0 ? "root passes TIOCEXCL; the lock must still refuse"
                           : "held by the first channel");

    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B115200);
    EXPECT_EQ(t.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS), CS8 | CSTOPB);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);

    // Opening the same channel again closes its own handle first. (A pseudo-terminal keeps 8
    // data bits without parity whatever is asked, so the stop bits tell the opens apart.)
    EXPECT_TRUE(first.open(*page, 3, SerialSettings{115200, 'N', 8, 1}));
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);

    // Opening another port lets go of this one.
    EXPECT_FALSE(first.open(*page, 6, k8N2));
    EXPECT_TRUE(second.open(*page, 3, k8N2));

    second.stop();
    EXPECT_FALSE(second.isOpen());
    EXPECT_TRUE(first.open(*page, 3, k8N2));
}

TEST_F(SerialChannelOnPty, BytesArriveOneMessageEachInOrderOnlyWhileStarted) {
    SerialChannel channel(*loop);
    ASSERT_TRUE(channel.open(*page, 3, k8N2));
    writeMaster({0xEE, 0xEE}); // stale: the start purges it
    ASSERT_TRUE(pumpUntil([&] { return unreadAtPort() == 2; }));
    ASSERT_TRUE(channel.start());
    EXPECT_TRUE(channel.start()) << "a second start keeps delivering once";

    writeMaster({0x01, 0x02, 0x03});
    ASSERT_TRUE(pumpUntil([&] { return page->messages.size() >= 3; }));
    EXPECT_EQ(page->messages, bytesFor({0x01, 0x02, 0x03}));

    // Stopping frees the port for the next page at once; nothing more arrives.
    channel.stop();
    EXPECT_FALSE(channel.isOpen());
    SerialChannel next(*loop);
    EXPECT_TRUE(next.open(*page, 3, k8N2));
    writeMaster({0x04});
    pumpFor(50ms);
    EXPECT_EQ(page->messages.size(), 3u);
    EXPECT_FALSE(channel.start()) << "a stopped channel must be opened again";
}

TEST_F(SerialChannelOnPty, RequestsWrittenBackToBackAllArriveInOrder) {
    SerialChannel channel(*loop);
    channel.write(std::vector<std::uint8_t>{0xEE}); // no port yet: never written
    ASSERT_TRUE(channel.open(*page, 3, k8N2));
    ASSERT_TRUE(channel.start());
    std::vector<std::uint8_t> second = kFrame;
    second[6] = 0x03;
    second[12] = 0xF5;
    const std::vector<std::uint8_t> block(290, 0x5A);
    channel.write(kFrame);
    channel.write(second);
    channel.write(block);
    std::vector<std::uint8_t> expected = kFrame;
    expected.insert(expected.end(), second.begin(), second.end());
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(readMaster(expected.size()), expected);

    // More than the port's output buffer holds: what it cannot take at once follows, in order,
    // as the far end reads.
    SerialSettings large = k8N2;
    large.writeBufferSize = 1 << 16;
    ASSERT_TRUE(channel.open(*page, 3, large));
    ASSERT_TRUE(channel.start());
    expected.clear();
    for (std::uint8_t b = 1; b <= 8; ++b) {
        const std::vector<std::uint8_t> big(large.writeBufferSize, b);
        channel.write(big);
        expected.insert(expected.end(), big.begin(), big.end());
    }
    EXPECT_EQ(readMaster(expected.size()), expected);
}

TEST_F(SerialChannelOnPty, TheFarEndHangingUpIsReportedToTheMainWindow) {
    SerialChannel channel(*loop);
    ASSERT_TRUE(channel.open(*page, 3, k8N2));
    ASSERT_TRUE(channel.start());
    close(master);
    master = -1;
    ASSERT_TRUE(pumpUntil([&] { return !mainWindow->messages.empty(); }));
    EXPECT_EQ(mainWindow->messages,
              (std::vector<Recorder::Message>{{WM_APP_PROGRESS, kSerialFailure, 0}}));
    EXPECT_TRUE(pumpUntil([&] { return !channel.isOpen(); }));
    EXPECT_TRUE(page->messages.empty());
}

TEST_F(SerialChannelOnPty, AHandlerThatStopsReopensOrDestroysTheChannelGetsNoMoreOfTheBurst) {
    enum class Then { Stop, Reopen, Destroy };
    for (const Then then : {Then::Stop, Then::Reopen, Then::Destroy}) {
        SCOPED_TRACE(static_cast<int>(then));
        page->messages.clear();
        auto channel = std::make_unique<SerialChannel>(*loop);
        ASSERT_TRUE(channel->open(*page, 3, k8N2));
        ASSERT_TRUE(channel->start());
        page->onAny = [&] {
            if (page->messages.size() != 2) {
                return;
            }
            if (then == Then::Stop) {
                channel->stop();
            } else if (then == Then::Reopen) {
                EXPECT_TRUE(channel->open(*page, 3, k8N2));
            } else {
                channel.reset();
            }
        };
        writeMaster({0x41, 0x42, 0x43, 0x44});
        ASSERT_TRUE(pumpUntil([&] { return page->messages.size() >= 2; }));
        pumpFor(50ms);
        page->onAny = nullptr;
        EXPECT_EQ(page->messages, bytesFor({0x41, 0x42}));
    }
}

TEST_F(SerialChannelOnPty, ARequestSentFromAByteHandlerPurgesWhatWasNotYetRead) {
    SerialChannel channel(*loop);
    ASSERT_TRUE(channel.open(*page, 3, k8N2));
    ASSERT_TRUE(channel.start());
    // The reply's last byte makes the page send its next request; what the matrix sent after it
    // and the page had not yet read is stale by then.
    page->onAny = [&] {
        if (page->messages.size() == 1) {
            writeMaster({0xEE, 0xEE}); // arrives after the read that took the reply
            const auto deadline = std::chrono::steady_clock::now() + 2s;
            while (unreadAtPort() != 2 && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(1ms);
            }
            channel.write(kFrame);
        }
    };
    writeMaster({0x01});
    EXPECT_EQ(readMaster(kFrame.size()), kFrame);
    page->onAny = nullptr;
    writeMaster({0x02});
    ASSERT_TRUE(pumpUntil([&] { return page->messages.size() >= 2; }));
    pumpFor(20ms);
    EXPECT_EQ(page->messages, bytesFor({0x01, 0x02}));
}

TEST_F(SerialChannelOnPty, WritesBeyondTheWriteBufferOrAFullQueueAreRefused) {
    SerialChannel channel(*loop);
    ASSERT_TRUE(channel.open(*page, 3, k8N2)); // not started: requests wait in the queue
    channel.write(std::vector<std::uint8_t>(k8N2.writeBufferSize + 1, 0x11));
    const std::vector<std::uint8_t> block(k8N2.writeBufferSize, 0x22);
    channel.write(block);
    for (std::size_t i = 0; i < SerialChannel::kMaxQueued + 10; ++i) {
        channel.write(kFrame);
    }
    ASSERT_TRUE(channel.start());
    std::vector<std::uint8_t> expected = block;
    for (std::size_t i = 1; i < SerialChannel::kMaxQueued; ++i) {
        expected.insert(expected.end(), kFrame.begin(), kFrame.end());
    }
    // The start wrote them all at once; a frame more would be there by now.
    EXPECT_EQ(readMaster(expected.size() + 13, 200ms), expected)
        << "one frame more would be too many";
}
