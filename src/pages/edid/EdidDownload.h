#pragma once
// The third row of "Manual Mode": an EDID file is opened, checked and kept; "Set" asks for EDID
// access, requests the download to one input or all of them, and on the matrix's go-ahead sends
// the data header and, 200 ms later, the 290-byte block with the EDID. The matrix answers with
// the result.
#include "EdidFileBuffer.h"
#include "EdidIds.h"
#include "protocol/CommandFrame.h"
#include "session/PendingRequest.h"

namespace zentrel {

class EdidPage;

namespace edid {

class EdidDownload {
public:
    explicit EdidDownload(EdidPage& page);

    // The Open button: the file dialog, then the file's check.
    void openFile();
    // Takes the file at `path` if it is an EDID (what the file dialog's answer leads to).
    void takeFile(const std::string& path);
    // After the page's guard: refuses without a file, else the access request.
    void start();
    // Access granted while downloading: the download request.
    void onAccessGranted();
    // The matrix's go-ahead and its result; false for any other frame.
    bool onReply(const CommandFrame& f);
    bool onTimer(int id);
    // Every wait of the download ends (standby, a refused switch).
    void stopAll();

    const EdidFileBuffer& buffer() const { return buffer_; }

private:
    void onReady(bool allInputs);
    void onResult(bool allInputs, std::uint8_t outcome);
    void sendBlock();

    EdidPage& page_;
    EdidFileBuffer buffer_;
    EdidFileBuffer::Block block_{};
    PendingRequest oneInput_;
    PendingRequest allInputs_;
};

} // namespace edid
} // namespace zentrel
