#pragma once
// Learning the unit's size: once a link is made, the model is asked for once (`01 02 00`) and
// its bytes 4 and 6 give the inputs and outputs of the link's unit in SharedState, where every
// page and the tool read it. The link's size is four by four from the connect on, so silence,
// a refusal or a count that is neither 4 nor 8 leave it at that, and nothing is said: a unit
// that does not know the question is simply the small one.
#include "OperationHost.h"
#include "state/MatrixSize.h"

namespace zentrel {

struct LinkedFrame;

class SizeQuery {
public:
    // Above every timer id the pages' own operations use, and outside the range a standby
    // announcement stops: the query ends by itself.
    static constexpr int kTimer = 130;
    static constexpr int kWaitMs = 5000;

    explicit SizeQuery(OperationHost host) : host_(host) {}

    // The link of the current mode was just made: its size is 4x4 until the unit answers.
    void start();
    // Takes the model reply while the query waits for one; false for any other frame.
    bool onReply(const LinkedFrame& reply);
    bool onTimer(int id);
    bool waiting() const { return mode_ >= 0; }

private:
    OperationHost host_;
    int mode_ = -1; // the ControlMode whose link was asked, -1 when nothing waits
};

} // namespace zentrel
