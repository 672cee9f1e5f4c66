#pragma once
// The refusal every command without a refusal of its own gets: its bytes 2 and 3 with FF in
// bytes 4 and 6, which no page takes for success.
#include "protocol/Commands.h"
#include "protocol/Replies.h"

namespace zentrel::sim {

inline CommandFrame genericRefusal(const CommandFrame& f) {
    return Command{f.group(), f.command()}.frame({reply::kRefused, 0x00, reply::kRefused});
}

} // namespace zentrel::sim
