#pragma once
// The EDID page (dialog 149): the "Manual Mode" rows that give the inputs a built-in EDID, the
// default EDID, a display's EDID or one from a file, and the list of the EDID each input
// presents. The conversations run as operations (the change and the status list) on the page's
// link; the page shows what they tell it, in its pop-ups and lines, and hands each reply to them
// in a fixed order, the first that knows the reply acting on it.
#include "EdidFileChooser.h"
#include "EdidFileInspector.h"
#include "EdidIds.h"
#include "EdidLayout.h"
#include "app/PageShell.h"
#include "operations/EdidChange.h"
#include "operations/EdidStatusList.h"
#include "operations/OperationHost.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "protocol/Replies.h"
#include "session/PageLink.h"

#include <memory>

namespace zentrel {

class EdidPage : public PageShell,
                 private edid::EdidChangeListener,
                 private edid::EdidStatusListener {
public:
    // The combo selections, kept while the page lives and put back when it opens.
    using Selections = edid::EdidTargets;

    explicit EdidPage(PageContext& ctx);
    ~EdidPage() override;

    // --- Page ------------------------------------------------------------------------------
    const DialogTemplate& pageTemplate() const override;
    void activate() override;
    // The input and output lists with each port's name after its entry ("IN3  Media player").
    void showNames(const PortNames& names) override;
    // Choosing the tab mutes TCP replies until the page sends its own first command.
    void onSelected() override { replyMute_ = true; }

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;

    // --- what the parts share ----------------------------------------------------------------
    edid::EdidFileInspector& inspector() { return inspector_; }

    // Inspection, for tests.
    bool busy() const { return busy_; }
    const ReplyAssembler& assembler() const { return link_.assembler(); }
    const edid::EdidFileChooser& file() const { return file_; }
    const edid::EdidFileInspector& inspector() const { return inspector_; }

private:
    // --- EdidChangeListener ----------------------------------------------------------------
    void onAccessRequested() override { busy_ = true; }
    void onAccessGranted(bool changeSent) override { busy_ = changeSent; }
    void onDownloadReady() override { busy_ = true; }
    void onOutputMissing(int output) override;
    void onModeSet(bool builtIn, bool allInputs) override;
    void onCopied(bool allInputs, bool done) override;
    void onDownloaded(bool allInputs, std::uint8_t outcome) override;
    void onChangeRefused() override;
    void onChangeTimedOut(const char* text) override;
    void onOutputCheckTimedOut() override;
    // --- EdidStatusListener ----------------------------------------------------------------
    void onStatusRead(int k, std::uint8_t code) override;
    void onStatusDone() override;
    void onStatusTimedOut() override;

    // The start of Set EDID Mode, the copy and the download: clears the reply mute, refuses
    // while busy, sets the operation and refuses when the link is not ready. True to go on.
    bool guard(edid::Operation op);
    // Whether the link of the current mode is ready; if not, the refusal notice and false.
    bool linkReady();
    void startSetMode();
    void startCopy();
    void startDownload();
    // The Status button's chain, under the progress box.
    void startStatus();
    // The refresh chain from input 1, after a change and on the page's activation.
    void refresh();
    // After a change of one input (a position), its status; nothing after one of all of them.
    void queryTargetInput(int target);
    // A change has ended: no animation, not busy, the tabs free.
    void endChange();

    void dispatch(const CommandFrame& frame);
    void onStandby();
    void storeSelection(int id);

    Selections selections_;
    edid::Operation op_ = edid::Operation::None;
    bool busy_ = false;
    bool replyMute_ = false;
    edid::EdidFileChooser file_;
    edid::EdidChange change_;
    edid::EdidStatusList status_;
    edid::EdidFileInspector inspector_;
    EdidLayout layout_;
};

} // namespace zentrel
