#pragma once
// The decode as one JSON object, for scripts (zentrel-ctl edid decode --json).
#include "edid/EdidInfo.h"

#include <nlohmann/json.hpp>

namespace edidinfo {

nlohmann::json edidJson(const EdidInfo& info);

} // namespace edidinfo
