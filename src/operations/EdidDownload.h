#pragma once
// The download of an EDID file: once access is granted, the download request to one input or all
// of them; on the matrix's go-ahead the data header and, 200 ms later, the 290-byte block with
// the EDID. The matrix answers with the result.
#include "EdidChangeListener.h"
#include "EdidFileBuffer.h"
#include "EdidWaits.h"
#include "OperationHost.h"
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

namespace zentrel::edid {

class EdidDownload {
public:
    // `file` is the EDID the block is made of when the go-ahead comes.
    EdidDownload(OperationHost host, const EdidTargets& targets, const EdidFileBuffer& file,
                 EdidChangeListener& listener);

    // Access granted while downloading: the download request.
    void onAccessGranted();
    // The matrix's go-ahead and its result; false for any other frame.
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);
    // Every wait of the download ends (standby, a refused switch).
    void stopAll();

private:
    void onReady(bool allInputs);
    void onResult(bool allInputs, std::uint8_t outcome);
    void sendBlock();

    OperationHost host_;
    const EdidTargets& targets_;
    const EdidFileBuffer& file_;
    EdidChangeListener& listener_;
    EdidFileBuffer::Block block_{};
    PendingRequest oneInput_;
    PendingRequest allInputs_;
};

} // namespace zentrel::edid
