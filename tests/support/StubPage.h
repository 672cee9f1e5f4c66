#pragma once
// A page that is only its window from its template, with an activation that does nothing: the
// shell's tests and benchmarks put it where a page's own behaviour would only be in the way.
#include "app/Page.h"
#include "app/PageContext.h"
#include "platform/Platform.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "resources/DialogTemplates.h"

#include <memory>

namespace zentrel {

class StubPage : public Window, public Page {
public:
    StubPage(int number, PageContext& ctx)
        : Window(ctx.platform.loop, &ctx.mainWindow), info_(pageInfo(number)),
          link_(ctx.platform.serial.createLink()) {}

    Window& window() override { return *this; }
    const PageInfo& info() const override { return info_; }
    const DialogTemplate& pageTemplate() const override {
        return pageStandInTemplate(info_.templateId);
    }
    void activate() override {}
    SerialLink* serialLink() override { return link_.get(); }

    static PageFactory factory() {
        return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
            return std::make_unique<StubPage>(number, ctx);
        };
    }

private:
    const PageInfo& info_;
    std::unique_ptr<SerialLink> link_;
};

} // namespace zentrel
