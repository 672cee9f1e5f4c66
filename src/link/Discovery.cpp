#include "Discovery.h"

#include "platform/Window.h"

#include <array>
#include <cstdio>

namespace zentrel {

namespace {
constexpr const char* kAnyAddress = "0.0.0.0";
constexpr const char* kBroadcast = "255.255.255.255";
} // namespace

Discovery::Discovery(Network& network, SharedState& state, Window& page, LogSink log)
    : state_(state), page_(page), log_(std::move(log)), socket_(network) {}

Discovery::Start Discovery::search() {
    state_.DiscoveredCount = 0;
    page_.clearItems(kIpList);
    UdpSocket* s = socket_.reopen(kAnyAddress, kPort);
    if (s == nullptr) {
        return Start::BindFailed;
    }
    searchHandle_ = s->handle();
    s->setBroadcast(true);
    if (!s->asyncSelect(page_, WM_DISCOVERY, FD_READ)) {
        return Start::SelectFailed;
    }
    const std::array<std::uint8_t, 1> probe{kProbe};
    socket_.sendTo(probe, kBroadcast, kPort);
    return Start::Started;
}

LParam Discovery::handleNotification(WParam wp, LParam lp) {
    // After the configuration dialog has reopened the socket on its own port, what is still
    // queued here belongs to a closed socket; reading now would take the dialog's answer.
    if (selectEvent(lp) != FD_READ || wp != searchHandle_ || !socket_.isCurrent(wp)) {
        return 0;
    }
    std::array<std::uint8_t, kReadSize> bytes{};
    const int n = socket_.recv(bytes);
    if (n <= 0) {
        return 0;
    }
    receive(std::span<const std::uint8_t>(bytes.data(), static_cast<std::size_t>(n)));
    return 0;
}

void Discovery::receive(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool kept = buffer_.append(bytes[i]);
        // The log shows the buffer from its start: the bytes of this read when nothing was
        // pending, otherwise the pending bytes first.
        if (log_) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X ", buffer_.at(i));
            log_(hex);
            if (kept && buffer_.count() % 13 == 0) {
                log_("\r\n");
            }
        }
    }
    if (!buffer_.ready()) {
        return;
    }
    if (const auto answer = buffer_.take()) {
        found(*answer);
    }
}

void Discovery::found(const DiscoveryBuffer::Answer& answer) {
    page_.addItem(kIpList, answer.ip);
    page_.setSelection(kIpList, 0);
    state_.MatrixIp = page_.shownText(kIpList);
    // The 8-bit count wraps, so the 256 slots are reused rather than passed.
    state_.DiscoveredMacs[state_.DiscoveredCount] = answer.mac;
    ++state_.DiscoveredCount;
    state_.SelectedMac = state_.DiscoveredMacs[0];
    if (Window* main = page_.loop().mainWindow()) {
        main->postMessage(WM_APP_RESULT, kMatrixFound, 0);
    }
}

void Discovery::select(int index) {
    if (index < 0 || index >= page_.itemCount(kIpList)) {
        return;
    }
    page_.setSelection(kIpList, index);
    state_.MatrixIp = page_.shownText(kIpList);
    // Entry k of the list is the k-th matrix found, whose MAC the wrapping count put in slot
    // k mod 256; a list longer than 256 entries must not read past the slots.
    state_.SelectedMac =
        state_.DiscoveredMacs[static_cast<std::size_t>(index) % state_.DiscoveredMacs.size()];
}

} // namespace zentrel
