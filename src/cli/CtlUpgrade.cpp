#include "CtlUpgrade.h"

#include "operations/FirmwareFile.h"
#include "operations/UpgradeIds.h"
#include "operations/UpgradeTransfer.h"
#include "platform/EventLoop.h"

namespace zentrel::cli {

namespace {

// A Messages line without its line break, for the detail of an error.
std::string bare(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::optional<CtlSession::Outcome> CtlUpgrade::load() {
    if (!FirmwareFile::hasFirmwareExtension(path_)) {
        return CtlSession::Outcome{ExitCode::Usage, "not a firmware file: " + path_,
                                   "(its name ends with .fw or .BIN)"};
    }
    const FirmwareFile file = FirmwareFile::read(path_, FirmwareImage::kCapacity);
    if (file.status == FirmwareFile::Status::TooLarge) {
        return CtlSession::Outcome{ExitCode::Usage, fw::kFileTooLarge, "(" + path_ + ")"};
    }
    if (file.status != FirmwareFile::Status::Read) {
        return CtlSession::Outcome{ExitCode::Usage, fw::kFileUnreadable, "(" + path_ + ")"};
    }
    image_.load(file.bytes);
    // The page would send nothing of a file that opens with no part and say "Upgrade failed!";
    // the tool says so before the link opens.
    if (image_.markerAt(0) == PartMarker::None) {
        return CtlSession::Outcome{ExitCode::Usage, "not a firmware file: " + path_,
                                   "(it does not open with a part marker)"};
    }
    return std::nullopt;
}

std::int64_t CtlUpgrade::now() const {
    return session_->loop().nowMs();
}

CtlSession::Outcome CtlUpgrade::run(CtlSession& session) {
    session_ = &session;
    UpgradeTransfer transfer(session.host(), image_, *this);
    transfer.start();
    if (outcome_) {
        return *outcome_; // ended before anything was awaited
    }
    running_ = true;
    return session.run([&transfer](const LinkedFrame& r) { return transfer.onReply(r.frame); },
                       [&transfer](int id) { return transfer.onTimer(id); });
}

void CtlUpgrade::upgradePart(const UpgradeProgress& p) {
    at_ = p;
    bar_.part(p, now());
}

void CtlUpgrade::upgradeProgress(const UpgradeProgress& p) {
    if (p.blocksAll == 0) {
        return; // the bar goes back to 0 after the last part
    }
    at_ = p;
    if (p.blocksDone == p.blocksAll) {
        bar_.partDone(p, now());
    } else {
        bar_.progress(p, now());
    }
}

void CtlUpgrade::upgradeLine(const char* line) {
    lastLine_ = bare(line);
}

void CtlUpgrade::upgradeBox(const char* text) {
    // The page leaves its box to the user and waits on; the tool has no one to close it.
    notice_ = text;
    upgradeEnded(UpgradeEnd::Failed);
}

void CtlUpgrade::upgradeEnded(UpgradeEnd end) {
    bar_.end();
    std::string detail = "(Part_" + std::to_string(at_.part) + ", block " +
                         std::to_string(at_.blocksDone) + " of " + std::to_string(at_.blocksAll);
    if (!lastLine_.empty()) {
        detail += ": " + lastLine_;
    }
    detail += ")";
    switch (end) {
    case UpgradeEnd::Success:
        outcome_ = {ExitCode::Done, bare(fw::kSuccess), ""};
        break;
    case UpgradeEnd::Failed:
        outcome_ = {ExitCode::Refused, notice_, detail};
        break;
    case UpgradeEnd::TimedOut:
        outcome_ = {ExitCode::NoAnswer, notice_, detail};
        break;
    case UpgradeEnd::NoLink:
        outcome_ = {ExitCode::NoLink, notice_, ""};
        break;
    case UpgradeEnd::Standby:
        outcome_ = {ExitCode::NoAnswer, session::kStandby, detail};
        break;
    }
    if (running_) {
        running_ = false;
        session_->finish(*outcome_);
    }
}

} // namespace zentrel::cli
