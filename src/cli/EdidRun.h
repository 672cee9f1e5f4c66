#pragma once
// `edid status`, `edid set`, `edid copy` and `edid upload` on the EDID page's own operations: the
// same access request, changes, download and status chain, with the page's waits, repeat and
// give-up. A run ends where the page would show its outcome, in the page's words.
#include "CtlSession.h"

#include "operations/EdidChange.h"
#include "operations/EdidStatusList.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zentrel::cli {

class EdidRun : private edid::EdidChangeListener, private edid::EdidStatusListener {
public:
    explicit EdidRun(CtlSession& session)
        : session_(session), change_(session.host(), targets_, file_, *this),
          status_(session.host(), *this) {}

    // Inputs and outputs are positions from 0, inputs kAllInputs for all of them; the session
    // has learnt the unit's size, and the positions are the unit's own.
    static constexpr int kAllInputs = -1;
    CtlSession::Outcome status();
    CtlSession::Outcome setMode(int input, int choice);
    CtlSession::Outcome copy(int output, int input);
    // `edid` is a file the page would take (128 or 256 bytes).
    CtlSession::Outcome upload(int input, std::span<const std::uint8_t> edid);

    nlohmann::json json() const;
    // What people read: the page's notice, or the status list.
    std::string lines() const;

    // Mode 1..15 or its text (blanks around it ignored) as a choice 0..15; nothing otherwise.
    static std::optional<int> parseMode(const std::string& text);

private:
    CtlSession::Outcome run();
    // The operations' position of `input`: "all" is the unit's number of inputs.
    int target(int input) const;
    int inputs() const { return session_.state().size().inputs; }
    void done(const char* text);
    void failed(ExitCode code, const std::string& text, const std::string& detail = {});

    void onAccessRequested() override {}
    void onAccessGranted(bool /*changeSent*/) override {}
    void onDownloadReady() override {}
    void onOutputMissing(int output) override;
    void onModeSet(bool builtIn, bool allInputs) override;
    void onCopied(bool allInputs, bool done) override;
    void onDownloaded(bool allInputs, std::uint8_t outcome) override;
    void onChangeRefused() override;
    void onChangeTimedOut(const char* text) override;
    void onOutputCheckTimedOut() override;
    void onStatusRead(int k, std::uint8_t code) override;
    void onStatusDone() override;
    void onStatusTimedOut() override;

    CtlSession& session_;
    edid::EdidTargets targets_;
    edid::EdidFileBuffer file_;
    edid::EdidChange change_;
    edid::EdidStatusList status_;
    edid::Operation op_ = edid::Operation::None;
    // The status code of input k at k - 1, -1 until it is read.
    std::array<int, edid::kMaxInputs> codes_{-1, -1, -1, -1, -1, -1, -1, -1};
    std::string doneText_;
};

} // namespace zentrel::cli
