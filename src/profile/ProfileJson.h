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
// An exported profile taken in over `base`: what the file holds replaces, what it leaves out
// stays. Unlike a kept profile it must say its version, and one newer than this program's is
// refused rather than half understood. Throws a ProfileError before anything is taken.
MatrixProfile importedProfile(const std::string& text, const MatrixProfile& base);

// Why `name` cannot be a port's or a routing's name (too long, a control character, not UTF-8),
// or empty when it can.
std::string nameProblem(const std::string& name);
// `name` made fit to keep: control characters become blanks, and it is cut after the longest
// length a name may have, so a name typed too long never spoils the whole profile.
std::string fittedName(const std::string& name);

std::string panelStateText(const PanelState& state);
PanelState panelStateFrom(const std::string& text);

// Characters (code points) of a UTF-8 text; the limit on names counts these, not bytes.
std::size_t characterCount(const std::string& utf8);

} // namespace zentrel
