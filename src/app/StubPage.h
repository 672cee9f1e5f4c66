#pragma once
// A page that is only its window from its template, with an activation that does nothing yet.
// It stands in for each page until the page brings its own behaviour.
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
    void activate() override { ++activations_; }
    SerialLink* serialLink() override { return link_.get(); }
    void onAnyPageSwitch() override { ++switchesSeen_; }
    void onSelected() override { ++selections_; }
    void search() override { ++searches_; }
    void disconnectCom() override { ++disconnects_; }

    int activations() const { return activations_; }
    int switchesSeen() const { return switchesSeen_; }
    int selections() const { return selections_; }
    int searches() const { return searches_; }
    int disconnects() const { return disconnects_; }

    // The stand-in for every page.
    static PageFactory factory();

private:
    const PageInfo& info_;
    std::unique_ptr<SerialLink> link_;
    int activations_ = 0;
    int switchesSeen_ = 0;
    int selections_ = 0;
    int searches_ = 0;
    int disconnects_ = 0;
};

} // namespace zentrel
