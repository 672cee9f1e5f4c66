#pragma once
// The borderless main window: a painted caption bar with the title, the four tab captions and
// the Minimize and Close buttons, one page below it, and the shared pop-ups. A page switch
// hands the serial port or the control socket to the page that is shown and wakes the page
// 150 ms later. What follows a network-configuration run is ConfigFollowUp's, on this window's
// timers.
#include "AboutBox.h"
#include "ConfigFollowUp.h"
#include "ConfigProgressBox.h"
#include "NoticePopup.h"
#include "Page.h"
#include "PageContext.h"
#include "PanelProfiles.h"
#include "PortNamesDialog.h"
#include "ProgressPopup.h"
#include "TrafficWindow.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "session/TrafficRecorder.h"
#include "state/SharedState.h"
#include "ui/SkinButton.h"
#include "ui/WindowSkin.h"

#include <array>
#include <memory>
#include <string>

namespace zentrel {

class ControlSocket;

class MainWindow : public Window, public WindowSkin {
public:
    static constexpr const char* kTitleText = "Zentrel Ver6.26";
    static constexpr Color kCaptionBlue = rgb(30, 144, 225);
    static constexpr Color kSelectedBack = rgb(240, 245, 230);
    static constexpr Color kTabBack = rgb(128, 128, 128);
    static constexpr Color kTabHotBack = rgb(250, 240, 235);
    static constexpr Color kTitleTextColor = rgb(255, 255, 251);
    // Width of the shown part of the template, before the two caption buttons are added.
    static constexpr int kShownWidth = 600;
    static constexpr int kTemplateWidth = 1160;

    // `screen` is the desktop area the window is centred in.
    MainWindow(Platform& platform, SharedState& state, ControlSocket& socket, PageFactory factory,
               Rect screen, ProfileStore* profiles = nullptr);
    ~MainWindow() override;

    // Builds the window without a modal loop (the view or a test drives it).
    void open();
    // Builds the window and runs it modally until Close, window close or the quit message.
    void runModal();

    // The page switch, exactly as a caption click runs it once the busy test has passed.
    void selectPage(int number);
    // A click on tab caption `number` (1..4): refused entirely while the Matrix page is busy
    // or a firmware transfer runs; otherwise the highlight moves and the page switch runs.
    // Returns whether the switch ran.
    bool clickCaption(int number);

    Page& page(int number);
    NoticePopup& notice() { return notice_; }
    ProgressPopup& progress() { return progress_; }
    ConfigProgressBox& configBox() { return configBox_; }
    AboutBox& aboutBox() { return about_; }
    TrafficRecorder& traffic() { return traffic_; }
    TrafficWindow& trafficWindow() { return trafficWindow_; }
    PortNamesDialog& namesDialog() { return namesDialog_; }
    PanelProfiles& profiles() { return profiles_; }
    // The highlight flag of tab caption `number` (1..4).
    int captionHighlight(int number) const;
    // The tab caption (1..4) at a point of the client area, 0 when none.
    int captionAt(Point p) const;

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;
    void onLButtonDown(Point p) override;
    void onMoved() override;
    // Enter and Escape do not end the program: only Close, the window's close and the quit
    // message do.
    void onOk() override {}
    void onCancel() override {}

    // --- WindowSkin ------------------------------------------------------------------------
    SkinButton* skinButton(int id) override;
    bool dragsWindowAt(Point p) const override { return captionAt(p) == 0; }
    bool handCursorAt(Point p) const override { return captionAt(p) != 0; }
    bool windowMenuAt(Point p) const override;
    std::vector<MenuEntry> windowMenu() const override;
    void onSystemCommand(unsigned command) override;
    std::optional<FontSpec> fontFor(int id) const override;
    bool onCloseRequest() override;
    // Ctrl+Tab (+1) and Ctrl+Shift+Tab (-1): a click on the caption beside the highlighted
    // one, wrapping round, so the keyboard obeys the same busy rules as the mouse.
    bool onSwitchTab(int step) override;

private:
    void layOutCaptionBar();
    void skinButtons();
    void colourTabs(int selected);
    void paintCaptions();
    void createPage(Page& p);
    void updateClientRect();
    // The window's place and the link chosen, for the next start.
    void keepPanelState();
    void importSettings();

    Platform& platform_;
    SharedState& state_;
    ControlSocket& socket_;
    Rect screen_;

    NoticePopup notice_;
    ProgressPopup progress_;
    ConfigProgressBox configBox_;
    AboutBox about_;
    // Before the pages, whose logs record into it, and outliving them.
    TrafficRecorder traffic_;
    TrafficWindow trafficWindow_;
    PanelProfiles profiles_;
    PageContext context_;
    ConfigFollowUp followUp_;
    PortNamesDialog namesDialog_;

    std::array<SkinButton, 4> tabButtons_;
    SkinButton linkButton_;
    SkinButton closeButton_;
    SkinButton minimizeButton_;
    std::array<int, 4> highlight_{1, 0, 0, 0};

    // Declared last: pages hold references to the pop-ups and the context above.
    std::array<std::unique_ptr<Page>, 4> pages_;
};

} // namespace zentrel
