#include "StubPage.h"

#include "platform/Platform.h"
#include "resources/DialogTemplates.h"

namespace zentrel {

StubPage::StubPage(int number, PageContext& ctx)
    : Window(ctx.platform.loop, &ctx.mainWindow), info_(pageInfo(number)),
      link_(ctx.platform.serial.createLink()) {}

const DialogTemplate& StubPage::pageTemplate() const {
    return pageStandInTemplate(info_.templateId);
}

PageFactory StubPage::factory() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        return std::make_unique<StubPage>(number, ctx);
    };
}

} // namespace zentrel
