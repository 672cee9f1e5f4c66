#include "GeneralPageFactory.h"

#include "GeneralPage.h"
#include "app/StubPage.h"
#include "state/SharedState.h"

namespace zentrel {

PageFactory makeGeneralPageFactory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageGeneral) {
            return std::make_unique<GeneralPage>(ctx);
        }
        return std::make_unique<StubPage>(number, ctx);
    };
}

} // namespace zentrel
