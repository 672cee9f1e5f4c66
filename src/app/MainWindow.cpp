#include "MainWindow.h"

#include "SettingsTransfer.h"
#include "SystemCommands.h"
#include "link/ControlSocket.h"
#include "platform/SerialLink.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <stdexcept>

namespace zentrel {

namespace {

constexpr int kActivationDelayMs = 150;
constexpr const char* kNoLinkText = "Connect to Matrix failed!";

constexpr std::array<int, 4> kCaptions{ctl::kGeneralCaption, ctl::kEdidCaption, ctl::kMatrixCaption,
                                       ctl::kFirmwareCaption};
constexpr std::array<int, 4> kTabButtons{ctl::kGeneralTab, ctl::kEdidTab, ctl::kMatrixTab,
                                         ctl::kFirmwareTab};

Rect moved(Rect r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Rect placed(Rect r, int x, int y) {
    return Rect{x, y, x + r.width(), y + r.height()};
}

} // namespace

MainWindow::MainWindow(Platform& platform, SharedState& state, ControlSocket& socket,
                       PageFactory factory, Rect screen, ProfileStore* profiles)
    : Window(platform.loop), platform_(platform), state_(state), socket_(socket), screen_(screen),
      notice_(platform.loop, state, this), progress_(platform.loop, state, this),
      configBox_(platform.loop, state, this), about_(platform.loop, this), traffic_(platform.loop),
      trafficWindow_(platform.loop, platform.ui, traffic_), profiles_(profiles, state, platform.ui),
      context_(
          PageContext{platform, state, socket, *this, notice_, progress_, traffic_, profiles_}),
      followUp_(*this, state, configBox_, notice_, [this] { page(kPageGeneral).search(); }),
      namesDialog_(platform.loop, *this, profiles_, state, platform.ui) {
    // The page objects exist from the start, so a page switch can reset and stop them all;
    // their windows are made when they are first needed.
    for (int n = 1; n <= 4; ++n) {
        pages_[static_cast<std::size_t>(n - 1)] = factory(n, context_);
        if (!pages_[static_cast<std::size_t>(n - 1)]) {
            throw std::logic_error("page factory made no page " + std::to_string(n));
        }
    }
    trafficWindow_.setNames(&profiles_.names());
    profiles_.setNamesListener([this] {
        for (auto& p : pages_) {
            p->showNames(profiles_.names());
        }
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::open() {
    create(mainDialogTemplate());
}

void MainWindow::runModal() {
    doModal(mainDialogTemplate());
}

Page& MainWindow::page(int number) {
    return *pages_.at(static_cast<std::size_t>(number - 1));
}

int MainWindow::captionHighlight(int number) const {
    return highlight_.at(static_cast<std::size_t>(number - 1));
}

int MainWindow::captionAt(Point p) const {
    if (!created()) {
        return 0;
    }
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        if (control(kCaptions[i]).rect.contains(p)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void MainWindow::onInitDialog() {
    layOutCaptionBar();
    skinButtons();

    // The General page is the one shown at start; no activation runs until a caption click.
    Page& general = page(kPageGeneral);
    createPage(general);
    general.window().show();
    highlight_ = {1, 0, 0, 0};
    colourTabs(kPageGeneral);
    paintCaptions();

    // A one-pixel grey frame round the whole window, and rounded corners.
    const Rect g = geometry();
    ControlTemplate frame{ctl::kWindowFrame, ControlKind::Frame, ""};
    frame.accessibleName = "Window frame";
    addControl(frame);
    setRect(ctl::kWindowFrame, Rect{0, 0, g.width(), g.height()});
    setCornerEllipse(3);
    updateClientRect();
}

void MainWindow::layOutCaptionBar() {
    // Small corrections that close the gaps the template leaves between the caption parts.
    setRect(ctl::kGeneralCaption, moved(control(ctl::kGeneralCaption).rect, 1, 0));
    setRect(ctl::kEdidCaption, moved(control(ctl::kEdidCaption).rect, 2, 0));
    setRect(ctl::kMatrixCaption, moved(control(ctl::kMatrixCaption).rect, 7, 0));
    setRect(ctl::kFirmwareCaption, moved(control(ctl::kFirmwareCaption).rect, 8, 0));
    setRect(ctl::kTitle, moved(control(ctl::kTitle).rect, 1, 1));
    setRect(ctl::kCaptionIcon, moved(control(ctl::kCaptionIcon).rect, 1, 1));

    // The window keeps 600 of its template's 1160 pixels and adds the two caption buttons.
    const Rect g = geometry();
    const int w = g.width();
    const Rect minimize = control(ctl::kMinimize).rect;
    const int b = minimize.width();
    const Rect minRect = placed(minimize, w * kShownWidth / kTemplateWidth, 0);
    setRect(ctl::kMinimize, minRect);
    setRect(ctl::kClose, placed(control(ctl::kClose).rect, minRect.right, 0));
    const int newWidth = w * kShownWidth / kTemplateWidth + 2 * b;
    int x = screen_.left + (screen_.width() - newWidth) / 2;
    int y = screen_.top + (screen_.height() - g.height()) / 2;
    // Where it was left, while the whole window still fits on the screen (a screen may have
    // become smaller since).
    if (const auto kept = profiles_.panel(*this).windowPosition) {
        const Rect there{kept->first, kept->second, kept->first + newWidth,
                         kept->second + g.height()};
        if (there.left >= screen_.left && there.top >= screen_.top &&
            there.right <= screen_.right && there.bottom <= screen_.bottom) {
            x = there.left;
            y = there.top;
        }
    }
    setGeometry(Rect{x, y, x + newWidth, y + g.height()});
    show();
    setRect(ctl::kClose, moved(control(ctl::kClose).rect, -1, 1));
    setRect(ctl::kMinimize, moved(control(ctl::kMinimize).rect, -1, 1));

    const Rect title = control(ctl::kTitle).rect;
    setRect(ctl::kTitle, Rect{title.left, title.top, title.right - 490, title.bottom});
    const Rect last = control(ctl::kFirmwareCaption).rect;
    setRect(ctl::kStrip, placed(control(ctl::kStrip).rect, last.left + 100, last.top));
    setText(ctl::kTitle, kTitleText);
    setTitle(kTitleText);

    // Separators: a one-pixel caption-blue line at the right edge of the first three captions.
    const std::array<int, 3> separators{ctl::kSeparator1, ctl::kSeparator2, ctl::kSeparator3};
    for (std::size_t i = 0; i < separators.size(); ++i) {
        const Rect c = control(kCaptions[i]).rect;
        ControlTemplate line{separators[i], ControlKind::Static, ""};
        line.accessibleName = "Tab separator";
        addControl(line);
        setRect(separators[i], Rect{c.right, c.top, c.right + 1, c.bottom});
        setColors(separators[i], kCaptionBlue, kCaptionBlue);
    }

    setColors(ctl::kTitle, kTitleTextColor, kCaptionBlue);
    setColors(ctl::kStrip, rgb(255, 255, 255), kCaptionBlue);
    setColors(ctl::kCaptionIcon, std::nullopt, kCaptionBlue);
    setColors(ctl::kHiddenIcon, std::nullopt, kCaptionBlue);
}

void MainWindow::skinButtons() {
    for (std::size_t i = 0; i < tabButtons_.size(); ++i) {
        SkinButton& s = tabButtons_[i];
        s.attach(*this, kTabButtons[i]);
        s.setDrawBorder(false, false);
        s.setColor(SkinButton::BackOut, kTabBack, false);
        s.setColor(SkinButton::ForeOut, rgb(255, 255, 255), false);
        s.setColor(SkinButton::BackIn, kTabHotBack, false);
    }
    struct CaptionButton {
        SkinButton& skin;
        int id;
        int iconOut;
        int iconIn;
        const char* tip;
    };
    for (const CaptionButton& c :
         {CaptionButton{minimizeButton_, ctl::kMinimize, res::kMinimizeIcon, res::kMinimizeIconHot,
                        "Minimize"},
          CaptionButton{closeButton_, ctl::kClose, res::kCloseIcon, res::kCloseIconHot, "Close"}}) {
        c.skin.attach(*this, c.id);
        c.skin.setDrawBorder(false, false);
        c.skin.setIcons(c.iconIn, c.iconOut, false);
        c.skin.setTooltip(c.tip);
        for (int slot : {SkinButton::BackIn, SkinButton::BackOut, SkinButton::BackFocus}) {
            c.skin.setColor(slot, kCaptionBlue, false);
        }
    }
    linkButton_.attach(*this, ctl::kLinkButton);
    linkButton_.setDrawBorder(false, false);
    linkButton_.setIcons(res::kLinkIcon, 0, false);
}

void MainWindow::colourTabs(int selected) {
    for (std::size_t i = 0; i < tabButtons_.size(); ++i) {
        const bool on = static_cast<int>(i) + 1 == selected;
        tabButtons_[i].setColor(SkinButton::BackOut, on ? kSelectedBack : kTabBack);
        tabButtons_[i].setColor(SkinButton::ForeOut, on ? rgb(0, 0, 0) : rgb(255, 255, 255));
    }
}

void MainWindow::paintCaptions() {
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        if (highlight_[i] == 1) {
            setColors(kCaptions[i], rgb(0, 0, 0), kSelectedBack);
        } else {
            setColors(kCaptions[i], rgb(255, 255, 255), kCaptionBlue);
        }
    }
}

void MainWindow::createPage(Page& p) {
    Window& w = p.window();
    if (w.created()) {
        return;
    }
    w.create(p.pageTemplate());
    // Below the caption bar, inside the grey frame; the rectangle is relative to this window.
    w.moveTo(1, control(ctl::kGeneralCaption).rect.bottom);
}

void MainWindow::selectPage(int number) {
    Page& target = page(number);
    const PageInfo& info = target.info();

    for (auto& p : pages_) {
        p->onAnyPageSwitch();
    }
    target.onSelected();
    state_.ActivePage = info.number;

    // Only the shown page may hold the serial port.
    if (state_.ControlMode == kModeCom) {
        for (auto& p : pages_) {
            if (p.get() != &target && p->serialLink() != nullptr) {
                p->serialLink()->stop();
            }
        }
    }

    colourTabs(number);
    createPage(target);
    target.window().show();
    for (auto& p : pages_) {
        if (p.get() != &target && p->window().created()) {
            p->window().hide();
        }
    }

    if (state_.ControlMode == kModeTcp) {
        if (state_.ShownConnected == 0) {
            followUp_.showNotice(kNoLinkText);
            return;
        }
        socket_.connectFor(target.window(), info.tcpMessage);
    }
    setTimer(info.activationTimer, kActivationDelayMs);
}

void MainWindow::onLButtonDown(Point p) {
    const int caption = captionAt(p);
    if (caption == 0) {
        return; // the view moves the window (dragsWindowAt)
    }
    clickCaption(caption);
}

bool MainWindow::clickCaption(int number) {
    if (state_.MatrixBusy || state_.UpgradeRunning) {
        return false;
    }
    highlight_ = {0, 0, 0, 0};
    highlight_.at(static_cast<std::size_t>(number - 1)) = 1;
    paintCaptions();
    selectPage(number);
    return true;
}

bool MainWindow::onSwitchTab(int step) {
    const auto lit = std::find(highlight_.begin(), highlight_.end(), 1);
    const int current = lit == highlight_.end() ? 0 : static_cast<int>(lit - highlight_.begin());
    const int count = static_cast<int>(highlight_.size());
    clickCaption((current + step % count + count) % count + 1);
    return true;
}

void MainWindow::onCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case ctl::kClose:
        keepPanelState();
        loop().postQuit();
        return;
    case ctl::kMinimize:
        postMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    default:
        break;
    }
    for (std::size_t i = 0; i < kTabButtons.size(); ++i) {
        if (id == kTabButtons[i]) {
            selectPage(static_cast<int>(i) + 1);
        }
    }
}

void MainWindow::onTimer(int id) {
    if (followUp_.onTimer(id)) {
        return;
    }
    killTimer(id);
    for (auto& p : pages_) {
        if (p->info().activationTimer == id) {
            p->activate();
            return;
        }
    }
}

LParam MainWindow::onMessage(unsigned msg, WParam wp, LParam) {
    switch (msg) {
    case WM_TAB_LOCK:
        if (wp == 0 || wp == 1) {
            for (std::size_t i = 0; i < kTabButtons.size(); ++i) {
                enable(kTabButtons[i], wp == 0);
                if (wp == 1) {
                    tabButtons_[i].disabled();
                }
            }
        }
        break;
    case WM_APP_PROGRESS:
        if (wp == 1) {
            followUp_.onRecordSent();
        } else if (wp == kSerialFailure) {
            for (int n : {kPageEdid, kPageMatrix, kPageFirmware}) {
                if (SerialLink* link = page(n).serialLink()) {
                    link->stop();
                }
            }
            page(kPageGeneral).disconnectCom();
        }
        break;
    case WM_APP_RESULT:
        followUp_.onResult(wp);
        break;
    case WM_SYSCOMMAND:
        onSystemCommand(static_cast<unsigned>(wp));
        break;
    default:
        break;
    }
    return 0;
}

void MainWindow::onMoved() {
    updateClientRect();
}

void MainWindow::updateClientRect() {
    // The window has no frame of its own, so its client area is the whole window.
    state_.MainClientRect = geometry();
}

SkinButton* MainWindow::skinButton(int id) {
    for (std::size_t i = 0; i < kTabButtons.size(); ++i) {
        if (id == kTabButtons[i]) {
            return &tabButtons_[i];
        }
    }
    switch (id) {
    case ctl::kClose:
        return &closeButton_;
    case ctl::kMinimize:
        return &minimizeButton_;
    case ctl::kLinkButton:
        return &linkButton_;
    default:
        return nullptr;
    }
}

bool MainWindow::windowMenuAt(Point p) const {
    return created() &&
           (control(ctl::kCaptionIcon).rect.contains(p) || control(ctl::kTitle).rect.contains(p));
}

std::vector<MenuEntry> MainWindow::windowMenu() const {
    // The window menu without Move (the window moves by dragging), with the traffic log and the
    // About entry.
    return {{SC_MINIMIZE, "Minimize"},
            {SC_CLOSE, "Close"},
            {0, ""},
            {SC_TRAFFIC, "Show traffic log"},
            {0, ""},
            {SC_PORT_NAMES, "Port names..."},
            {SC_EXPORT, "Export settings..."},
            {SC_IMPORT, "Import settings..."},
            {0, ""},
            {SC_ABOUT, "About Zentrel..."}};
}

void MainWindow::onSystemCommand(unsigned command) {
    if ((command & 0xFFF0) == SC_ABOUT) {
        about_.open();
        return;
    }
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        setMinimized(true);
        break;
    case SC_RESTORE:
        setMinimized(false);
        break;
    case SC_CLOSE:
        onCloseRequest();
        break;
    case SC_TRAFFIC:
        trafficWindow_.open(geometry(), screen_);
        break;
    case SC_PORT_NAMES:
        namesDialog_.edit();
        break;
    case SC_EXPORT:
        SettingsTransfer(*this, profiles_, platform_.ui).exportFile();
        break;
    case SC_IMPORT:
        importSettings();
        break;
    default:
        break;
    }
}

std::optional<FontSpec> MainWindow::fontFor(int id) const {
    if (id == ctl::kTitle) {
        return FontSpec{"", 13, 400};
    }
    return std::nullopt;
}

void MainWindow::keepPanelState() {
    const Rect g = geometry();
    profiles_.changePanel(*this, [&](PanelState& kept) {
        kept.windowPosition = std::pair{g.left, g.top};
        page(kPageGeneral).keepState(kept);
    });
}

void MainWindow::importSettings() {
    if (SettingsTransfer(*this, profiles_, platform_.ui).importFile()) {
        for (auto& p : pages_) {
            p->profileReplaced();
        }
    }
}

bool MainWindow::onCloseRequest() {
    keepPanelState();
    endDialog(IDCANCEL);
    return true;
}

} // namespace zentrel
