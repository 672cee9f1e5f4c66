#include "PageFactory.h"

#include "pages/edid/EdidPage.h"
#include "pages/firmware/FirmwarePage.h"
#include "pages/general/GeneralPage.h"
#include "pages/matrix/MatrixPage.h"
#include "state/SharedState.h"

namespace zentrel {

PageFactory makePageFactory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        switch (number) {
        case kPageGeneral:
            return std::make_unique<GeneralPage>(ctx);
        case kPageEdid:
            return std::make_unique<EdidPage>(ctx);
        case kPageMatrix:
            return std::make_unique<MatrixPage>(ctx);
        case kPageFirmware:
            return std::make_unique<FirmwarePage>(ctx);
        default:
            return nullptr; // there are no other pages
        }
    };
}

} // namespace zentrel
