#pragma once
// A profile's text that cannot be taken: not JSON, a value of the wrong kind, a name too long.
// The message says what, in words a user can act on.
#include <stdexcept>

namespace zentrel {

class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zentrel
