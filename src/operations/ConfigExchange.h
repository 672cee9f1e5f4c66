#pragma once
// One configuration record out and the answers read back. The record goes by broadcast to port
// 30601 on the broadcast socket that discovery also uses, reopened on that port, so the record
// reaches a matrix whatever address it has now; it is addressed by the matrix's current MAC.
// The socket listens on the port it sends to, so the record itself comes back first and is
// passed over. Nothing repeats the record: a matrix that does not answer within
// kAnswerPatienceMs has not taken it, and the host gives up then.
#include "ConfigRecord.h"
#include "ConfigReplyBuffer.h"

#include "platform/Messages.h"

#include <cstdint>

namespace zentrel {

class BroadcastSocket;
class ReplyLog;
class Window;

class ConfigListener {
public:
    virtual void onConfigAccepted() = 0;
    // The matrix answered the record and did not take it.
    virtual void onConfigRefused() {}

protected:
    virtual ~ConfigListener() = default;
};

class ConfigExchange {
public:
    static constexpr std::uint16_t kPort = 30601;
    static constexpr std::size_t kReadSize = 1024;
    // The wait for an answer: timer 3 of the window that shows the run.
    static constexpr int kAnswerTimer = 3;
    static constexpr int kAnswerPatienceMs = 10000;
    // What a run without an accepting answer ends with.
    static constexpr const char* kFailedText = "configure failed!";

    // `host` receives the socket's notifications as WM_CONFIG_SOCKET; `log`, when given, gets
    // every byte read, thirteen to a line.
    ConfigExchange(Window& host, BroadcastSocket& socket, ConfigListener& listener,
                   ReplyLog* log = nullptr);

    // The one record of the run: each request rewrites only what it sets (an Auto IP request
    // keeps the address bytes of the Static IP request before it).
    ConfigRecord& record() { return record_; }
    const ConfigRecord& record() const { return record_; }
    const ConfigReplyBuffer& replies() const { return replies_; }

    // Seals the record and broadcasts it; nothing older than it can answer it. False when the
    // socket could not be opened (then nothing was sent).
    bool send();
    // The host's WM_CONFIG_SOCKET handler.
    void onNotification(WParam wp, LParam lp);

private:
    Window& host_;
    BroadcastSocket& socket_;
    ConfigListener& listener_;
    ReplyLog* log_;
    ConfigRecord record_;
    ConfigReplyBuffer replies_;
    WParam sentOn_ = 0; // the socket the last record went out on; 0 before the first
};

} // namespace zentrel
