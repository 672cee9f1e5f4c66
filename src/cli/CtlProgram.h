#pragma once
// One run of the tool: checks what needs no matrix, opens the link, and hands the command to its
// operation. The operations are shared with the panel's pages; a command whose operation is not
// part of this build ends with a usage error before anything is sent.
#include "CtlReport.h"
#include "CtlRequest.h"
#include "CtlSession.h"

#include "edid/EdidInfo.h"
#include "platform/EventLoop.h"
#include "platform/Network.h"

namespace zentrel::cli {

class CtlProgram {
public:
    CtlProgram(CtlRequest request, EventLoop& loop, Network& network)
        : request_(std::move(request)), report_(request_.json, request_.quiet), loop_(loop),
          network_(network) {}

    // The exit status of the run.
    int run();

private:
    // A usage error for what the operands say, or nothing when they hold.
    std::optional<int> checkInput();
    // Fails unless broadcasting cannot reach a real network, or the user allowed it.
    std::optional<int> checkBroadcast();
    // The device of a serial target; a usage error when there is no target.
    std::optional<int> resolveTarget();
    int discover();
    // The command's conversation with the matrix on the opened link.
    int converse(CtlSession& session);

    CtlRequest request_;
    std::optional<edidinfo::EdidInfo> edid_; // the decoded file of `edid upload` and `decode`
    std::vector<std::uint8_t> edidBytes_;    // the file `edid upload` sends
    CtlReport report_;
    EventLoop& loop_;
    Network& network_;
};

} // namespace zentrel::cli
