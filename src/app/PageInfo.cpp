#include "Page.h"
#include "platform/Messages.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "state/SharedState.h"

#include <array>
#include <stdexcept>
#include <string>

namespace zentrel {

const PageInfo& pageInfo(int number) {
    // The Matrix page wakes on timer 4 and the FW Upgrade page on timer 3.
    static const std::array<PageInfo, 4> pages{{
        {kPageGeneral, ctl::kGeneralTab, ctl::kGeneralCaption, res::kGeneralPage, 1,
         WM_TCP_GENERAL},
        {kPageEdid, ctl::kEdidTab, ctl::kEdidCaption, res::kEdidPage, 2, WM_TCP_EDID},
        {kPageMatrix, ctl::kMatrixTab, ctl::kMatrixCaption, res::kMatrixPage, 4, WM_TCP_MATRIX},
        {kPageFirmware, ctl::kFirmwareTab, ctl::kFirmwareCaption, res::kFirmwarePage, 3,
         WM_TCP_FIRMWARE},
    }};
    if (number < 1 || number > 4) {
        throw std::out_of_range("no page " + std::to_string(number));
    }
    return pages[static_cast<std::size_t>(number - 1)];
}

} // namespace zentrel
