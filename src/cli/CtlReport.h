#pragma once
// How a run ends on the terminal: for people, short text (errors on standard error, the page's
// own words first, then which step or port); with --json, one object on standard output holding
// at least "ok" and "error", whatever else the command gives.
#include "ExitCode.h"

#include <nlohmann/json.hpp>

#include <string>

namespace zentrel::cli {

class CtlReport {
public:
    CtlReport(bool json, bool quiet) : json_(json), quiet_(quiet) {}

    // A failure: `text` is the page's own message where one exists ("Time out!"), `detail` what
    // the tool adds; `fields` join the JSON object. Returns `code` for the caller to end with.
    int fail(ExitCode code, const std::string& text, const std::string& detail = {},
             const nlohmann::json& fields = nlohmann::json::object());

    // A warning on standard error that does not end the run (also with --quiet: it tells of a
    // fault, such as a kept file set aside).
    void warn(const std::string& text);

    // Success: `fields` join the JSON object; `lines` is what people read (nothing with --quiet).
    int done(const nlohmann::json& fields, const std::string& lines);

private:
    bool json_;
    bool quiet_;
};

} // namespace zentrel::cli
