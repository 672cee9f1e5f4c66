#pragma once
// A page that is only its window from its template, with an activation that does nothing. It
// stands in for a page until the page brings its own behaviour.
#include "Page.h"
#include "PageContext.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"

#include <memory>

namespace zentrel {

class StubPage : public Window, public Page {
public:
    StubPage(int number, PageContext& ctx);

    Window& window() override { return *this; }
    const PageInfo& info() const override { return info_; }
    const DialogTemplate& pageTemplate() const override;
    void activate() override {}
    SerialLink* serialLink() override { return link_.get(); }

    // The stand-in for every page.
    static PageFactory factory();

private:
    const PageInfo& info_;
    std::unique_ptr<SerialLink> link_;
};

} // namespace zentrel
