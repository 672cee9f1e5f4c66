#pragma once
// The EDID page (dialog 149): the "Manual Mode" rows that give the inputs a built-in EDID, the
// default EDID, a display's EDID or one from a file, and the list of the EDID each input
// presents. The page owns its serial channel, its logs, its reply assembly on both links, the
// access request every change begins with and the state its parts share; it hands each reply to
// its parts in a fixed order, the first that knows the reply acting on it.
#include "EdidDownload.h"
#include "EdidFileInspector.h"
#include "EdidIds.h"
#include "EdidModeCopy.h"
#include "EdidStatusList.h"
#include "app/Page.h"
#include "app/PageContext.h"
#include "app/PagePopups.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"
#include "session/PendingRequest.h"

#include <memory>

namespace zentrel {

class EdidPage : public Window, public Page {
public:
    // The combo selections, kept while the page lives and put back when it opens.
    struct Selections {
        int choice = 0;         // 0..15
        int modeTarget = 0;     // 0..3 an input, 4 all inputs
        int copySource = 0;     // 0..3 output A..D
        int copyTarget = 0;     // 0..4
        int downloadTarget = 0; // 0..4
    };

    explicit EdidPage(PageContext& ctx);
    ~EdidPage() override;

    // --- Page ------------------------------------------------------------------------------
    Window& window() override { return *this; }
    const PageInfo& info() const override;
    const DialogTemplate& pageTemplate() const override;
    void activate() override;
    SerialLink* serialLink() override { return link_.serial(); }
    // Choosing the tab mutes TCP replies until the page sends its own first command.
    void onSelected() override { replyMute_ = true; }

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    // A page is not a dialog of its own: Enter and Escape end nothing.
    void onOk() override {}
    void onCancel() override {}

    // --- what the parts share ----------------------------------------------------------------
    SharedState& state() { return ctx_.state; }
    PageContext& context() { return ctx_; }
    FrameSender& sender() { return link_.sender(); }
    SendLog& sendLog() { return link_.sendLog(); }
    PagePopups& popups() { return popups_; }
    edid::EdidStatusList& statusList() { return status_; }
    edid::EdidFileInspector& inspector() { return inspector_; }
    const Selections& selections() const { return selections_; }
    edid::Operation operation() const { return op_; }
    void setOperation(edid::Operation op) { op_ = op; }
    bool busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    bool replyMuted() const { return replyMute_; }

    // The start of Set EDID Mode, the copy and the download: clears the reply mute, refuses
    // while busy, sets the operation and refuses when the link is not ready. True to go on.
    bool guard(edid::Operation op);
    // Whether the link of the current mode is ready; if not, the refusal notice and false.
    bool linkReady();
    // Sends the EDID access request (timers 5, 6) and marks the page busy.
    void requestAccess();

    // How a wait ends without an answer. A: a change of an input's EDID, with the tab lock
    // released; B: the copy's output check; C: a status query of the Status button.
    void timeOutA(const char* text = edid::kTimeOut);
    void timeOutB();
    void timeOutC();

    // Inspection, for tests.
    const SendLog& sendLog() const { return link_.sendLog(); }
    const ReplyAssembler& assembler() const { return link_.assembler(); }
    const edid::EdidDownload& download() const { return download_; }
    const edid::EdidFileInspector& inspector() const { return inspector_; }

private:
    void dispatch(const CommandFrame& frame);
    void onAccessGranted();
    void onStandby();
    void onSwitchReport(const reply::SwitchReport& report);
    void storeSelection(int id);
    void cutToFourInputs();

    PageContext& ctx_;
    PageLink link_;
    PagePopups popups_;
    PendingRequest access_;
    Selections selections_;
    edid::Operation op_ = edid::Operation::None;
    bool busy_ = false;
    bool replyMute_ = false;
    edid::EdidModeCopy modeCopy_;
    edid::EdidStatusList status_;
    edid::EdidDownload download_;
    edid::EdidFileInspector inspector_;
};

} // namespace zentrel
