#include "CtlReport.h"

#include <iostream>

namespace zentrel::cli {

int CtlReport::fail(ExitCode code, const std::string& text, const std::string& detail,
                    const nlohmann::json& fields) {
    const std::string message = detail.empty() ? text : text + " " + detail;
    std::cerr << "zentrel-ctl: " << message << "\n";
    if (json_) {
        nlohmann::json out = fields.is_object() ? fields : nlohmann::json::object();
        out["ok"] = false;
        out["error"] = message;
        std::cout << out.dump() << "\n";
    }
    return static_cast<int>(code);
}

void CtlReport::warn(const std::string& text) {
    std::cerr << "zentrel-ctl: " << text << "\n";
}

int CtlReport::done(const nlohmann::json& fields, const std::string& lines) {
    if (json_) {
        nlohmann::json out = fields.is_object() ? fields : nlohmann::json::object();
        out["ok"] = true;
        out["error"] = nullptr;
        std::cout << out.dump() << "\n";
    } else if (!quiet_ && !lines.empty()) {
        std::cout << lines;
    }
    return static_cast<int>(ExitCode::Done);
}

} // namespace zentrel::cli
