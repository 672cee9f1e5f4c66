#pragma once
// Recording fakes below the application: sockets that remember where their notifications go and
// whom they connect to, serial links that count their stops, desktop services that answer OK.
// The GUI and page tests use them too.
#include "platform/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace zentrel::testing {

class FakeTcpSocket : public TcpSocket {
public:
    explicit FakeTcpSocket(WParam h) : handle_(h) {}
    WParam handle() const override { return handle_; }
    void asyncSelect(Window& w, unsigned msg, int eventMask) override {
        target = &w;
        message = msg;
        events = eventMask;
    }
    void connect(const std::string& ip, std::uint16_t port) override {
        connectedTo = ip + ":" + std::to_string(port);
    }
    int send(std::span<const std::uint8_t> data) override { return static_cast<int>(data.size()); }
    int recv(std::span<std::uint8_t>) override { return -1; }
    void close() override { open = false; }
    bool isOpen() const override { return open; }

    Window* target = nullptr;
    unsigned message = 0;
    int events = 0;
    std::string connectedTo;
    bool open = true;

private:
    WParam handle_;
};

class FakeNetwork : public Network {
public:
    std::unique_ptr<TcpSocket> createTcp() override {
        ++tcpRequests;
        if (failTcp) {
            return nullptr;
        }
        auto s = std::make_unique<FakeTcpSocket>(static_cast<WParam>(100 + sockets.size()));
        sockets.push_back(s.get());
        return s;
    }
    std::unique_ptr<UdpSocket> createUdp() override { return nullptr; }

    FakeTcpSocket* last() const { return sockets.empty() ? nullptr : sockets.back(); }

    bool failTcp = false;
    int tcpRequests = 0;
    std::vector<FakeTcpSocket*> sockets; // owned by the control socket; only the last is alive
};

class FakeSerialLink : public SerialLink {
public:
    bool open(Window&, int port, const SerialSettings&) override {
        port_ = port;
        return true;
    }
    bool start() override { return true; }
    void stop() override { ++stops; }
    void write(std::span<const std::uint8_t>) override {}
    bool isOpen() const override { return port_ != 0; }
    int port() const override { return port_; }

    int stops = 0;

private:
    int port_ = 0;
};

class FakeSerialPorts : public SerialPorts {
public:
    std::unique_ptr<SerialLink> createLink() override { return std::make_unique<FakeSerialLink>(); }
};

class FakeUiServices : public UiServices {
public:
    std::optional<std::string> chooseFile(Window&, const std::string&) override { return {}; }
    // Each open-file dialog takes the next scripted answer (nothing: the user cancels) and
    // records the filter it was shown with.
    std::optional<std::string> openFile(const std::string& filter) override {
        filters.push_back(filter);
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
    // A save-file dialog takes the next answer of the same list.
    std::optional<std::string> saveFile(const std::string& filter, const std::string&) override {
        return openFile(filter);
    }
    std::vector<std::optional<std::string>> answers;
    std::vector<std::string> filters;
    // Message boxes are answered OK and kept as "caption: text" (the text alone without one).
    int messageBox(Window&, const std::string& text, const std::string& caption) override {
        boxes.push_back(caption.empty() ? text : caption + ": " + text);
        return IDOK;
    }
    std::vector<std::string> boxes;
    void openAddress(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
    void copyText(const std::string& text) override { clipboard = text; }
    std::string clipboard;
};

} // namespace zentrel::testing
