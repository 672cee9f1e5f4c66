#include "EdidRun.h"

#include "operations/EdidTexts.h"
#include "protocol/Replies.h"

#include <cstdio>

namespace zentrel::cli {

using namespace edid;

std::optional<int> EdidRun::parseMode(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    const std::string word = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    if (!word.empty() && word.size() <= 2 &&
        word.find_first_not_of("0123456789") == std::string::npos) {
        const int n = std::stoi(word);
        return n >= 1 && n < kChoiceCount ? std::optional<int>(n - 1) : std::nullopt;
    }
    for (int p = 0; p < kChoiceCount; ++p) {
        std::string choice = choiceText(p);
        while (!choice.empty() && choice.back() == ' ') {
            choice.pop_back();
        }
        if (choice == word) {
            return p;
        }
    }
    return std::nullopt;
}

CtlSession::Outcome EdidRun::run() {
    return session_.run(
        [this](const LinkedFrame& r) {
            return change_.onReply(r.frame, op_) || status_.onReply(r.frame, op_) ||
                   change_.onSwitchReport(r.frame, op_);
        },
        [this](int id) { return change_.onTimer(id) || status_.onTimer(id); });
}

int EdidRun::target(int input) const {
    return input == kAllInputs ? inputs() : input;
}

CtlSession::Outcome EdidRun::status() {
    op_ = Operation::Status;
    status_.start();
    return run();
}

CtlSession::Outcome EdidRun::setMode(int input, int choice) {
    op_ = Operation::SetMode;
    targets_.modeTarget = target(input);
    targets_.choice = choice;
    change_.requestAccess();
    return run();
}

CtlSession::Outcome EdidRun::copy(int output, int input) {
    op_ = Operation::Copy;
    targets_.copySource = output;
    targets_.copyTarget = target(input);
    change_.queryOutput();
    return run();
}

CtlSession::Outcome EdidRun::upload(int input, std::span<const std::uint8_t> edid) {
    op_ = Operation::Download;
    targets_.downloadTarget = target(input);
    file_.accept(edid);
    change_.requestAccess();
    return run();
}

void EdidRun::done(const char* text) {
    doneText_ = text;
    session_.finish({});
}

void EdidRun::failed(ExitCode code, const std::string& text, const std::string& detail) {
    session_.finish({code, text, detail});
}

void EdidRun::onOutputMissing(int output) {
    failed(ExitCode::Refused, notConnectedText(output));
}

void EdidRun::onModeSet(bool /*builtIn*/, bool /*allInputs*/) {
    done(kSetOk);
}

void EdidRun::onCopied(bool /*allInputs*/, bool copied) {
    copied ? done(kCopyOk) : failed(ExitCode::Refused, kCopyFailed);
}

void EdidRun::onDownloaded(bool /*allInputs*/, std::uint8_t outcome) {
    if (outcome == reply::kDone) {
        done(kDownloadOk);
        return;
    }
    // The page says nothing of a code that is neither; a script must not take it for success.
    char code[48];
    std::snprintf(code, sizeof code, "(the matrix answered %02X)", outcome);
    failed(ExitCode::Refused, kDownloadFailed, outcome == reply::kRefused ? "" : code);
}

void EdidRun::onChangeRefused() {
    failed(ExitCode::Refused, kSwitchRefused);
}

void EdidRun::onChangeTimedOut(const char* text) {
    const bool linkGone = std::string(text) == kNoLink;
    failed(linkGone ? ExitCode::NoLink : ExitCode::NoAnswer, text,
           op_ == Operation::Download ? "(edid upload)"
           : op_ == Operation::Copy   ? "(edid copy)"
                                      : "(edid set)");
}

void EdidRun::onOutputCheckTimedOut() {
    failed(ExitCode::NoAnswer, kTimeOut,
           "(state of output " + outputLetter(targets_.copySource) + ")");
}

void EdidRun::onStatusRead(int k, std::uint8_t code) {
    if (k >= 1 && k <= inputs()) {
        codes_[static_cast<std::size_t>(k - 1)] = code;
    }
}

void EdidRun::onStatusDone() {
    session_.finish({});
}

void EdidRun::onStatusTimedOut() {
    int k = 1;
    while (k < inputs() && codes_[static_cast<std::size_t>(k - 1)] >= 0) {
        ++k;
    }
    failed(ExitCode::NoAnswer, kTimeOut, "(EDID status of input " + std::to_string(k) + ")");
}

nlohmann::json EdidRun::json() const {
    if (op_ != Operation::Status) {
        return nlohmann::json::object();
    }
    nlohmann::json list = nlohmann::json::array();
    for (int k = 1; k <= inputs(); ++k) {
        const int code = codes_[static_cast<std::size_t>(k - 1)];
        list.push_back({{"port", k}, {"edid", statusText(static_cast<std::uint8_t>(code))}});
    }
    return {{"inputs", list}};
}

std::string EdidRun::lines() const {
    if (op_ != Operation::Status) {
        return doneText_ + "\n";
    }
    std::string out;
    for (int k = 1; k <= inputs(); ++k) {
        const int code = codes_[static_cast<std::size_t>(k - 1)];
        out += "IN" + std::to_string(k) + "  " + statusText(static_cast<std::uint8_t>(code)) + "\n";
    }
    return out;
}

} // namespace zentrel::cli
