#include "GeneralPageFactory.h"

#include "GeneralPage.h"
#include "app/StubPage.h"
#include "pages/firmware/FirmwarePage.h"
#include "state/SharedState.h"

namespace zentrel {

PageFactory makeGeneralPageFactory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageGeneral) {
            return std::make_unique<GeneralPage>(ctx);
        }
        if (number == kPageFirmware) {
            return std::make_unique<FirmwarePage>(ctx);
        }
        return std::make_unique<StubPage>(number, ctx);
    };
}

} // namespace zentrel
