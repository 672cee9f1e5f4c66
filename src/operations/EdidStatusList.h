#pragma once
// "Input EDID List": the EDID each input presents, asked input by input, each query sent on the
// reply to the one before. The Status chain guards each query with a repeat and a give-up; the
// refresh after a change and on the page's activation runs the same chain without either.
#include "EdidStatusListener.h"
#include "EdidWaits.h"
#include "OperationHost.h"
#include "session/PendingRequest.h"

#include <vector>

namespace zentrel::edid {

class EdidStatusList {
public:
    EdidStatusList(OperationHost host, EdidStatusListener& listener);

    // The Status chain from input 1.
    void start();
    // One status query, without a wait (the refresh starts with input 1).
    void queryOne(int input);
    // A status reply; false for any other frame. It leads to the next query while the host runs
    // the refresh or the Status chain (`current`).
    bool onReply(const CommandFrame& f, Operation current);
    bool onTimer(int id);

private:
    OperationHost host_;
    EdidStatusListener& listener_;
    std::vector<PendingRequest> queries_; // input k at k - 1
};

} // namespace zentrel::edid
