#pragma once
// The profiles as JSON text a person can read and edit. Reading checks every value and throws a
// ProfileError saying which one is wrong; keys missing keep their defaults, so a file written by
// hand may hold only what it changes.
#include "MatrixProfile.h"
#include "PanelState.h"

#include <string>

namespace zentrel {

constexpr int kProfileVersion = 1;

std::string profileText(const MatrixProfile& profile);
MatrixProfile matrixProfileFrom(const std::string& text);

std::string panelStateText(const PanelState& state);
PanelState panelStateFrom(const std::string& text);

// Characters (code points) of a UTF-8 text; the limit on names counts these, not bytes.
std::size_t characterCount(const std::string& utf8);

} // namespace zentrel
