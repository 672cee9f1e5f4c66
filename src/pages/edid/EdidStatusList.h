#pragma once
// "Input EDID List": the EDID each input presents, asked input by input, each query sent on the
// reply to the one before. The Status button guards each query with a repeat and a give-up and
// shows the progress box; the refresh after a change and on the page's activation runs the same
// chain without either.
#include "EdidIds.h"
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

#include <vector>

namespace zentrel {

class EdidPage;

namespace edid {

class EdidStatusList {
public:
    explicit EdidStatusList(EdidPage& page);

    // The Status button.
    void start();
    // The refresh chain from input 1.
    void refresh();
    // One status query, without a wait.
    void queryOne(int input);
    // A status reply; false for any other frame.
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);

private:
    EdidPage& page_;
    std::vector<PendingRequest> queries_; // input k at k - 1
};

} // namespace edid
} // namespace zentrel
