#pragma once
// A page's mirror of its log box keeps the same bounded tail as the box itself: a long session
// (a firmware upgrade logs hundreds of kilobytes) must not grow memory without end.
#include <cstddef>
#include <string>

namespace zentrel {

inline constexpr std::size_t kMirrorLimit = 64 * 1024;

// Appends `text`; past the limit the oldest quarter goes in one cut, so the cost per append
// stays constant however long the session runs.
inline void appendBounded(std::string& mirror, const std::string& text) {
    mirror += text;
    if (mirror.size() > kMirrorLimit) {
        mirror.erase(0, mirror.size() - kMirrorLimit * 3 / 4);
    }
}

} // namespace zentrel
