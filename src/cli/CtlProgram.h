#pragma once
// One run of the tool: checks what needs no matrix, runs the commands on the kept profiles, opens
// the link, and hands the command to its operation. The operations are shared with the panel's
// pages; a command whose operation is not part of this build ends with a usage error before
// anything is sent.
#include "CtlReport.h"
#include "CtlRequest.h"
#include "CtlSession.h"

#include "edid/EdidInfo.h"
#include "platform/EventLoop.h"
#include "platform/Network.h"
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileStore.h"

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
    // The device of a serial target; with none given, the last one the panel or the tool used;
    // a usage error when there is none.
    std::optional<int> resolveTarget();
    // The profile of the target: of its COM port or its address; empty for a device by path.
    std::string profileName() const;
    // Keeps the target as the last one used, shared with the panel.
    void keepTarget();
    // The panel's state set aside as unreadable is told; a state that cannot be read or
    // written at all only loses the last target, and the command goes on silently.
    void tellSetAside();
    // The commands on the kept profile; a status when the run ends there, nothing for any
    // other command and for a `preset apply` whose stored routing is then in preset_.
    std::optional<int> onProfile();
    int discover();
    // The command's conversation with the matrix on the opened link.
    int converse(CtlSession& session);

    CtlRequest request_;
    std::optional<edidinfo::EdidInfo> edid_; // the decoded file of `edid upload` and `decode`
    std::vector<std::uint8_t> edidBytes_;    // the file `edid upload` sends
    std::optional<StoredRouting> preset_;    // the stored routing `preset apply` routes
    CtlReport report_;
    PosixProfileFiles files_;
    ProfileStore store_{ProfileStore::defaultFolder(), files_};
    EventLoop& loop_;
    Network& network_;
};

} // namespace zentrel::cli
