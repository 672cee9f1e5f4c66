#include "platform/sim/VirtualEventLoop.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

using namespace zentrel;

namespace {

const DialogTemplate kPopup{
    189, "pop", 66, 16, {{1181, ControlKind::Static, "text", 0, 3, 64, 11}}};

} // namespace

TEST(VirtualEventLoop, ModalLoopWithNothingLeftFailsInsteadOfHanging) {
    VirtualEventLoop loop;
    Window popup(loop);
    EXPECT_THROW(popup.doModal(kPopup), ModalStall);

    VirtualEventLoop loop2;
    Window ticking(loop2);
    Window popup2(loop2);
    ticking.setTimer(66, 500); // a periodic timer alone never closes the pop-up
    loop2.setModalLimitMs(60'000);
    EXPECT_THROW(popup2.doModal(kPopup), ModalStall);
}
