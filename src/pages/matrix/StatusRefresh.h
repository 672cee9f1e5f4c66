#pragma once
// Each time the page is shown it reads the routing back from the matrix, output 1 to 4, one
// query after each reply. The grid shows each answer; the page counts as busy until the last
// reply, and silence after a query's repeat ends the refresh with "Time out!".
#include "MatrixIds.h"
#include "session/PendingRequest.h"

#include <array>
#include <memory>

namespace zentrel {

class MatrixPage;
struct CommandFrame;

class StatusRefresh {
public:
    explicit StatusRefresh(MatrixPage& page);

    // The page's activation, 150 ms after the Matrix tab was chosen.
    void start();
    // The status reply of output k (byte 4), with the input in byte 6. False when no query of
    // output k waits: a reply counts only for the query that waits for it.
    bool onReply(int k, std::uint8_t input, bool serial);
    bool onTimer(int id);
    // The matrix went to standby: the page has stopped every timer.
    void abandon() { waiting_ = 0; }

private:
    PendingRequest& request(int k) { return *requests_[static_cast<std::size_t>(k - 1)]; }
    void query(int k);
    void end();
    void giveUp();

    MatrixPage& page_;
    std::array<std::unique_ptr<PendingRequest>, mtx::kOutputs> requests_;
    int waiting_ = 0; // the output whose reply is awaited, 0 for none
};

} // namespace zentrel
