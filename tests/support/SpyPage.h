#pragma once
// A stand-in page that counts what the main window asks of it, for the shell's tests.
#include "StubPage.h"

#include <memory>

namespace zentrel::testing {

class SpyPage : public StubPage {
public:
    using StubPage::StubPage;

    void activate() override { ++activations_; }
    void onAnyPageSwitch() override { ++switchesSeen_; }
    void onSelected() override { ++selections_; }
    void search() override { ++searches_; }
    void disconnectCom() override { ++disconnects_; }

    int activations() const { return activations_; }
    int switchesSeen() const { return switchesSeen_; }
    int selections() const { return selections_; }
    int searches() const { return searches_; }
    int disconnects() const { return disconnects_; }

    static PageFactory factory() {
        return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
            return std::make_unique<SpyPage>(number, ctx);
        };
    }

private:
    int activations_ = 0;
    int switchesSeen_ = 0;
    int selections_ = 0;
    int searches_ = 0;
    int disconnects_ = 0;
};

} // namespace zentrel::testing
