#include "GeneralPageFactory.h"

#include "GeneralPage.h"
#include "app/StubPage.h"
#include "pages/edid/EdidPage.h"
#include "state/SharedState.h"

namespace zentrel {

PageFactory makeGeneralPageFactory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageGeneral) {
            return std::make_unique<GeneralPage>(ctx);
        }
        if (number == kPageEdid) {
            return std::make_unique<EdidPage>(ctx);
        }
        return std::make_unique<StubPage>(number, ctx);
    };
}

} // namespace zentrel
