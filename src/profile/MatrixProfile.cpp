#include "MatrixProfile.h"

namespace zentrel {

MatrixProfile MatrixProfile::defaults() {
    MatrixProfile p;
    for (int r = 0; r < kRoutings; ++r) {
        p.routings[static_cast<std::size_t>(r)].name = "Setting" + std::to_string(r + 1);
    }
    return p;
}

} // namespace zentrel
