#include "IconCatalog.h"

#include "ResourceIds.h"

namespace zentrel {

std::optional<IconSize> iconSize(int resource) {
    switch (resource) {
    case res::kAppIcon:
        return IconSize{32, 32};
    case res::kLinkIcon:
    case res::kCaptionIcon:
    case res::kLinkDownIcon:
    case res::kLinkUpIcon:
    case res::kOpenFileIcon:
    case res::kNextArrowIcon:
    case res::kPrevArrowIcon:
        return IconSize{16, 16};
    case res::kCloseIcon:
    case res::kCloseIconHot:
    case res::kMinimizeIcon:
    case res::kMinimizeIconHot:
        return IconSize{14, 14};
    default:
        return std::nullopt;
    }
}

bool cursorExists(int resource) {
    return resource == res::kHandCursor;
}

} // namespace zentrel
