#pragma once
// What a change of an input's EDID tells its host: the built-in or default EDID set, a display's
// EDID copied, a file downloaded, refused or unanswered. The host decides what each means for it
// (a page shows a notice, zentrel-ctl ends with a status).
#include <cstdint>

namespace zentrel::edid {

class EdidChangeListener {
public:
    // The access request went out; the host is busy until the change ends.
    virtual void onAccessRequested() = 0;
    // Access came: `changeSent` when the change itself went out on it.
    virtual void onAccessGranted(bool changeSent) = 0;
    // The download's go-ahead came and its header went out.
    virtual void onDownloadReady() = 0;
    // The copy's source output has no display (its position, from 0).
    virtual void onOutputMissing(int output) = 0;
    virtual void onModeSet(bool builtIn, bool allInputs) = 0;
    virtual void onCopied(bool allInputs, bool done) = 0;
    // The download's result: reply::kDone, reply::kRefused or a code the unit gave instead.
    virtual void onDownloaded(bool allInputs, std::uint8_t outcome) = 0;
    // The unit's EDID switch forbids changes: every wait of the change has ended.
    virtual void onChangeRefused() = 0;
    // A request of the change went unanswered after its repeat, or the link went away (`text`).
    virtual void onChangeTimedOut(const char* text) = 0;
    // The copy's output check went unanswered (it has no repeat).
    virtual void onOutputCheckTimedOut() = 0;

protected:
    virtual ~EdidChangeListener() = default;
};

} // namespace zentrel::edid
