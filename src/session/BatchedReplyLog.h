#pragma once
// A receive log as the reply assembly writes it, held back and written to the box in
// one piece once the reply it belongs to has been acted on. Writing the box is not free (a view
// redraws it), and an upgrade's next header should not wait for thirteen of those.
#include "protocol/ReplyLog.h"

#include <cstdint>
#include <string>

namespace zentrel {

class ReceiveLog;

class BatchedReplyLog : public ReplyLog {
public:
    // Text held back beyond this is written even without a reply (stray bytes).
    static constexpr std::size_t kHoldLimit = 3 * 13;

    explicit BatchedReplyLog(ReceiveLog& log) : log_(log) {}

    void serialByte(std::uint8_t b, bool endsLine) override;
    void hex(std::uint8_t b) override;
    void lineBreak() override;

    // Writes what is held back; with `always` false only once the hold limit is passed.
    void flush(bool always = true);

private:
    ReceiveLog& log_;
    std::string pending_;
};

} // namespace zentrel
