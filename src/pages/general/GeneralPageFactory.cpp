#include "GeneralPageFactory.h"

#include "GeneralPage.h"
#include "app/StubPage.h"
#include "pages/matrix/MatrixPage.h"
#include "state/SharedState.h"

namespace zentrel {

PageFactory makeGeneralPageFactory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageGeneral) {
            return std::make_unique<GeneralPage>(ctx);
        }
        if (number == kPageMatrix) {
            return std::make_unique<MatrixPage>(ctx);
        }
        return std::make_unique<StubPage>(number, ctx);
    };
}

} // namespace zentrel
