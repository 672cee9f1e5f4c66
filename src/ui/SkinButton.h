#pragma once
// A flat, coloured button with icons, tooltip, hover highlight, check mode, pop-up menu and
// address. This is the button's state and decisions; the Qt view paints it from look().
#include "MenuEntry.h"
#include "platform/Control.h"
#include "platform/Geometry.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zentrel {

class UiServices;
class Window;

class SkinButton {
public:
    // Colour slots: background and text while pointed at or pressed, in the normal state, and
    // while focused.
    enum Slot { BackIn = 0, ForeIn = 1, BackOut = 2, ForeOut = 3, BackFocus = 4, ForeFocus = 5 };
    static constexpr int kSlots = 6;

    // Setter results.
    static constexpr int kOk = 0;
    static constexpr int kNoResource = 1;
    static constexpr int kBadIndex = 3;
    static constexpr int kBadOffset = 5;

    static constexpr std::size_t kMaxAddress = 259; // text that fits the 260-byte buffer

    enum class Edge { None, RaisedThin, SunkenThin, ThreeD, ShadowFrame };

    // What a draw request knows about the button.
    struct DrawState {
        bool pressed = false;
        bool focused = false;
        bool disabled = false;
    };

    // What to draw, in the painting order.
    struct Look {
        bool blackFrame = false;
        bool transparent = false;
        Color back;
        Color text;
        Edge edge = Edge::None;
        int icon = 0;
        bool iconDisabled = false;
        bool textOffset = false; // one pixel right and down
        bool embossedText = false;
        bool focusRect = false;
        bool hot = false; // pointed at or pressed: the state that uses the "in" colours
    };

    enum class ClickResult { None, Toggled, ShowMenu, OpenedAddress };

    SkinButton();
    virtual ~SkinButton() = default;
    SkinButton(const SkinButton&) = delete;
    SkinButton& operator=(const SkinButton&) = delete;

    // Takes over a control of a window: a check box turns check mode on.
    void attach(Window& w, int id);
    Window* window() const { return window_; }
    int controlId() const { return id_; }

    // --- colours ---------------------------------------------------------------------------
    int setColor(int index, Color c, bool repaint = true);
    // Adds one offset to red, green and blue, limited so that none leaves 0..255.
    int shiftColor(int index, int offset, bool repaint = true);
    void resetColors(bool repaint = true);
    Color color(int index) const { return colors_.at(static_cast<std::size_t>(index)); }

    // --- icons, cursor, tooltip, menu, address -----------------------------------------------
    // `out` 0 means none: the "in" icon is drawn in every state.
    int setIcons(int in, int out = 0, bool repaint = true);
    int iconIn() const { return iconIn_; }
    int iconOut() const { return iconOut_; }
    int setCursor(int cursor);
    int cursor() const { return cursor_; }
    void setTooltip(const std::string& text, bool activate = true);
    bool hasTooltip() const { return tooltipCreated_; }
    const std::string& tooltip() const { return tooltip_; }
    bool tooltipActive() const { return tooltipActive_; }
    void setAddress(const std::string& address);
    const std::string& address() const { return address_; }
    void setMenu(std::vector<MenuEntry> entries, Window* receiver);
    const std::vector<MenuEntry>& menu() const { return menu_; }

    // --- flags -----------------------------------------------------------------------------
    void setFlat(bool flat, bool repaint = true);
    bool flat() const { return flat_; }
    void setDrawBorder(bool border, bool repaint = true);
    bool drawBorder() const { return drawBorder_; }
    void setFlatFocus(bool focus, bool repaint = true);
    void setTransparent(bool transparent, bool repaint = true);
    void setDefaultButton(bool isDefault) { defaultButton_ = isDefault; }
    bool checkMode() const { return checkMode_; }
    void setCheckMode(bool on) { checkMode_ = on; }
    bool checked() const { return checked_; }
    void setChecked(bool on, bool repaint = true);

    // --- what the pointer does -------------------------------------------------------------
    // A move over the screen: `overThis` when the window under the pointer is this button.
    void mouseMove(bool leftHeld, bool overThis, bool appActive = true);
    // Leave notification, loss of focus, deactivation, cancel mode: all clear the hover.
    void mouseLeave();
    // The control was disabled: the hover goes.
    void disabled();
    bool pointerOver() const { return pointerOver_; }
    // The button's own click: toggles in check mode, else asks for the menu, else opens the
    // address with the desktop's handler.
    ClickResult click(UiServices* services);
    // A menu entry was chosen: its command goes to the menu's receiver.
    void menuChosen(unsigned command);

    // --- drawing ---------------------------------------------------------------------------
    virtual Look look(const DrawState& s) const;
    // Called whenever the button must be drawn again (the view installs it).
    void setRepaintHandler(std::function<void()> fn) { repaintHandler_ = std::move(fn); }
    void repaint();
    int repaints() const { return repaints_; }

private:
    Window* window_ = nullptr;
    int id_ = 0;
    std::array<Color, kSlots> colors_{};
    bool flat_ = true;
    bool drawBorder_ = true;
    bool flatFocus_ = false;
    bool transparent_ = false;
    bool pointerOver_ = false;
    bool checkMode_ = false;
    bool checked_ = false;
    bool defaultButton_ = false;
    int iconIn_ = 0;
    int iconOut_ = 0;
    int cursor_ = 0;
    bool tooltipCreated_ = false;
    bool tooltipActive_ = false;
    std::string tooltip_;
    std::string address_;
    std::vector<MenuEntry> menu_;
    Window* menuReceiver_ = nullptr;
    std::function<void()> repaintHandler_;
    int repaints_ = 0;
};

} // namespace zentrel
