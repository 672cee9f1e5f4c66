#pragma once
// The modeless dialog that sets a discovered matrix's address mode, IPv4 address and MAC address
// over UDP, without a TCP connection. OK checks the fields, has the configuration exchange
// broadcast the record, hides the dialog and has the main window follow the run
// (WM_APP_PROGRESS 1). An answer that accepts the record is reported to the main window as
// WM_APP_RESULT 1.
#include "operations/ConfigExchange.h"
#include "platform/Window.h"
#include "session/ReceiveLog.h"
#include "ui/SkinButton.h"
#include "ui/WindowSkin.h"

#include <cstdint>
#include <string>

namespace zentrel {

class BroadcastSocket;
class NoticePopup;
struct SharedState;

class TcpConfigDialog : public Window, public WindowSkin, private ConfigListener {
public:
    static constexpr std::uint16_t kPort = ConfigExchange::kPort;
    static constexpr Color kTitleBlue = rgb(30, 144, 225);

    // `socket` is discovery's broadcast socket, taken over while a record is out. The dialog is
    // a window of its own on the desktop, not a part of the page that opens it.
    TcpConfigDialog(EventLoop& loop, SharedState& state, BroadcastSocket& socket,
                    NoticePopup& notice);

    // "Config...": the first time builds and shows the dialog, later times show it and refill
    // the address and MAC fields, keeping the address mode. False, and nothing shown, before a
    // search has found a matrix: a record addressed to no MAC would reach no matrix.
    bool open();

    const ConfigRecord& record() const { return exchange_.record(); }
    const ConfigReplyBuffer& replies() const { return exchange_.replies(); }

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    // Enter sends, as OK does; Escape closes, as Cancel does.
    void onOk() override { send(); }
    void onCancel() override { hide(); }

    // --- WindowSkin ------------------------------------------------------------------------
    SkinButton* skinButton(int id) override {
        return id == closeButton_.controlId() ? &closeButton_ : nullptr;
    }
    // A press anywhere on the dialog moves it: it has no title bar of its own.
    bool dragsWindowAt(Point) const override { return true; }
    std::optional<Color> backgroundColor() const override { return rgb(255, 255, 255); }
    bool onCloseRequest() override {
        hide();
        return true;
    }

private:
    void fill();
    void chooseMode(bool automatic);
    void keepFieldForm(int id);
    // The first field that would put a value the user did not type into the record, with a
    // notice naming it; empty when all are sound.
    std::string fieldProblem() const;
    void send();
    void onConfigAccepted() override;

    SharedState& state_;
    NoticePopup& notice_;
    SkinButton closeButton_;
    ReceiveLog log_;
    ConfigExchange exchange_;
};

} // namespace zentrel
