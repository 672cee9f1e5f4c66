#pragma once
// The tool's exit status, the contract scripts test: what happened, not how.

namespace zentrel::cli {

enum class ExitCode : int {
    Done = 0,     // done, and the matrix confirmed it
    Refused = 1,  // the matrix refused or reported a failure
    Usage = 2,    // bad arguments or input; nothing was sent
    NoAnswer = 3, // no answer after the one repeat, or the matrix is in standby
    NoLink = 4,   // the port or connection could not be opened
};

} // namespace zentrel::cli
