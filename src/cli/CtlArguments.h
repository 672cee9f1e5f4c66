#pragma once
// The command line: the forms scripts rely on, parsed by CLI11, with --help for the tool and for
// each command. Checks the form of every operand, so bad input ends the run before anything is
// sent.
#include "CtlRequest.h"

#include <optional>

namespace zentrel::cli {

struct ParseOutcome {
    std::optional<CtlRequest> request; // empty when the run ends here
    int exitCode = 0;                  // then: 0 after --help or --version, 2 after a usage error
};

// Parses argv; help, the version and usage errors are printed here (help and version on stdout,
// errors on stderr).
ParseOutcome parseArguments(int argc, const char* const* argv);

} // namespace zentrel::cli
