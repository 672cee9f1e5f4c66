#include "EdidSession.h"

#include "GenericRefusal.h"
#include "protocol/Commands.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"

#include <algorithm>

namespace zentrel::sim {

namespace {

using reply::kDone;
constexpr std::uint8_t kFailed = reply::kRefused;

std::uint8_t u8(int v) {
    return static_cast<std::uint8_t>(v);
}

// The commands that change the EDID of an input.
bool isChange(const CommandFrame& f) {
    for (const Command c :
         {cmd::kEdidBuiltInAll, cmd::kEdidBuiltIn, cmd::kEdidCopyAll, cmd::kEdidCopy,
          cmd::kEdidDefaultAll, cmd::kEdidDefault, cmd::kEdidDownload, cmd::kEdidDownloadAll}) {
        if (c.matches(f)) {
            return !EdidSession::isDataHeader(f);
        }
    }
    return false;
}

std::uint8_t sum8(std::span<const std::uint8_t> bytes) {
    std::uint8_t s = 0;
    for (std::uint8_t b : bytes) {
        s = static_cast<std::uint8_t>(s + b);
    }
    return s;
}

// Commands that change an input's EDID are refused with the EDID switch report.
CommandFrame switchRefused() {
    return cmd::kEdidSwitchReport.frame({reply::kSwitchRefused});
}

} // namespace

bool EdidSession::isDataHeader(const CommandFrame& f) {
    const auto d = request::edidDownload(f);
    return d && d->dataHeader;
}

bool EdidSession::validEdid(std::span<const std::uint8_t> edid) {
    static constexpr std::uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() != kEdidSize ||
        !std::equal(std::begin(kHeader), std::end(kHeader), edid.begin())) {
        return false;
    }
    if (sum8(edid.first(128)) != 0) {
        return false;
    }
    const std::uint8_t extensions = edid[126];
    if (extensions == 0) {
        return true;
    }
    return extensions == 1 && sum8(edid.subspan(128, 128)) == 0;
}

const std::vector<std::uint8_t>& EdidSession::userEdid(int input) const {
    static const std::vector<std::uint8_t> none;
    return isPort(input) ? userEdid_[static_cast<std::size_t>(input)] : none;
}

void EdidSession::setAll(std::uint8_t code) {
    for (int i = 1; i <= kMaxPorts; ++i) {
        state_.edidStatus[static_cast<std::size_t>(i)] = code;
    }
}

EdidSession::Answer EdidSession::onFrame(const CommandFrame& f, const Faults& faults) {
    const bool refuse = faults.refuse;
    if (!request::edidFixedBytesRight(f)) {
        return {genericRefusal(f)};
    }
    // A refusal the fault plan asks for comes first, so it reads as the command's own.
    if (!refuse && isChange(f) && !changeAllowed(f)) {
        return {genericRefusal(f)};
    }
    Answer a;
    if (request::edidDownload(f)) {
        a.reply = download(f, refuse, a);
    } else if (cmd::kEdidAccess.matches(f)) {
        accessGranted_ = !refuse && !faults.withholdAccess;
        lastChange_.reset();
        a.reply = refuse ? switchRefused() : cmd::kEdidAccess.frame({kDone});
    } else {
        a.reply = change(f, refuse);
    }
    return a;
}

std::optional<CommandFrame> EdidSession::change(const CommandFrame& f, bool refuse) {
    // The status codes name the copies of outputs A..D; a copy of E..H on an eight-output unit
    // carries the codes after them, which every reader takes for a user-defined EDID.
    auto copyCode = [](int output) { return u8(reply::kEdidCopyOfOutputA + output - 1); };
    auto outputHasDisplay = [&](int o) {
        return isPort(o) && state_.outputConnected[static_cast<std::size_t>(o)];
    };
    auto builtIn = [](int m) { return m >= 1 && m <= 15; };
    if (const auto e = request::edidChange(cmd::kEdidBuiltInAll, f)) {
        if (refuse || !builtIn(e->source)) {
            return switchRefused();
        }
        setAll(u8(e->source - 1));
        return cmd::kEdidBuiltInAll.frame({kDone});
    }
    if (const auto e = request::edidChange(cmd::kEdidBuiltIn, f)) {
        if (refuse || !builtIn(e->source) || !isPort(e->input)) {
            return switchRefused();
        }
        state_.edidStatus[static_cast<std::size_t>(e->input)] = u8(e->source - 1);
        return cmd::kEdidBuiltIn.frame({kDone, 0x00, u8(e->input)});
    }
    if (const auto e = request::edidChange(cmd::kEdidCopyAll, f)) { // a display's EDID to all
        if (refuse || !outputHasDisplay(e->source)) {
            return cmd::kEdidCopyAll.frame({kFailed});
        }
        setAll(copyCode(e->source));
        return cmd::kEdidCopyAll.frame({kDone});
    }
    if (const auto e = request::edidChange(cmd::kEdidCopy, f)) { // ... to one input
        if (!isPort(e->input)) {
            return std::nullopt;
        }
        if (refuse || !outputHasDisplay(e->source)) {
            return cmd::kEdidCopy.frame({kFailed, 0x00, u8(e->input)});
        }
        state_.edidStatus[static_cast<std::size_t>(e->input)] = copyCode(e->source);
        return cmd::kEdidCopy.frame({kDone, 0x00, u8(e->input)});
    }
    if (cmd::kEdidDefaultAll.matches(f)) {
        if (refuse) {
            return switchRefused();
        }
        setAll(kEdidDefault);
        return cmd::kEdidDefaultAll.frame({kDone});
    }
    if (const auto input = request::port(cmd::kEdidDefault, f)) {
        if (!isPort(*input)) {
            return std::nullopt;
        }
        if (refuse) {
            return switchRefused();
        }
        state_.edidStatus[static_cast<std::size_t>(*input)] = kEdidDefault;
        return cmd::kEdidDefault.frame({kDone, 0x00, u8(*input)});
    }
    return std::nullopt;
}

std::optional<CommandFrame> EdidSession::download(const CommandFrame& f, bool refuse, Answer& a) {
    const auto d = request::edidDownload(f);
    if (d->dataHeader) { // the block follows, answered when it is in
        if (downloadReady_) {
            downloadReady_ = false;
            a.expectBlock = true;
        }
        return std::nullopt;
    }
    if (!d->allInputs && !isPort(d->input)) {
        return std::nullopt;
    }
    if (refuse) {
        return switchRefused();
    }
    if (!d->allInputs) {
        downloadTarget_ = d->input;
    }
    downloadReady_ = true;
    return Command{f.group(), f.command()}.frame({reply::kEdidReady, 0x00, u8(d->input)});
}

bool EdidSession::changeAllowed(const CommandFrame& f) {
    const bool repeated = lastChange_ && *lastChange_ == f;
    if (!accessGranted_ && !repeated) {
        return false;
    }
    accessGranted_ = false;
    lastChange_ = f;
    return true;
}

CommandFrame EdidSession::onBlock(const CommandFrame& header, std::span<const std::uint8_t> block,
                                  bool refuse) {
    const bool allInputs = cmd::kEdidDownloadAll.matches(header);
    const int target = allInputs ? 0 : downloadTarget_.value_or(-1);
    downloadTarget_.reset();
    const auto edidBytes =
        block.size() == kBlockSize ? block.subspan(1, kEdidSize) : std::span<const std::uint8_t>{};
    const bool ok = target >= 0 && validEdid(edidBytes) && !refuse;
    if (ok) {
        for (int i = 1; i <= kMaxPorts; ++i) {
            if (allInputs || i == target) {
                state_.edidStatus[static_cast<std::size_t>(i)] = reply::kEdidUserDefined;
                userEdid_[static_cast<std::size_t>(i)].assign(edidBytes.begin(), edidBytes.end());
            }
        }
    }
    return Command{header.group(), header.command()}.frame(
        {ok ? kDone : kFailed, 0x00, u8(target > 0 ? target : 0), 0x01});
}

} // namespace zentrel::sim
