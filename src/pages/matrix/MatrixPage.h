#pragma once
// The Matrix page (dialog 144): the switching grid, the output-configuration panel and the
// stored settings. The page owns its serial channel, its logs and its reply assembly on both
// links, and hands each reply to its parts: switch acknowledgments to the switching engine,
// routing replies to the status refresh, and the standby announcement to itself.
#include "MatrixLayout.h"
#include "MatrixRouting.h"
#include "OutputGrid.h"
#include "OutputPanel.h"
#include "SettingEditDialog.h"
#include "StoredSettings.h"
#include "app/PageShell.h"
#include "app/PanelProfiles.h"
#include "platform/SerialLink.h"
#include "platform/Window.h"
#include "session/PageLink.h"
#include "ui/WindowSkin.h"

#include <memory>

namespace zentrel {

class MatrixPage : public PageShell, public WindowSkin {
public:
    explicit MatrixPage(PageContext& ctx);
    ~MatrixPage() override;

    // --- Page ------------------------------------------------------------------------------
    const DialogTemplate& pageTemplate() const override;
    // startStatusRefresh. A tab change within the 150 ms leaves this timer running for a page
    // that is hidden again; its refresh would take the port from the page now shown.
    void activate() override {
        if (ctx_.state.ActivePage == kPageMatrix) {
            routing_.startRefresh();
        }
    }
    // The TCP-reply gate closes on every page switch.
    void onAnyPageSwitch() override { tcpArmed_ = false; }
    // Shown again: laid out for the unit the General page connected to since, and the kept
    // routings read again, as zentrel-ctl or another matrix's profile may have changed them.
    void onSelected() override {
        layOut();
        if (created()) {
            settings_.load();
        }
    }
    // Each output's name under its caption; each input button's name in its tooltip and after
    // what it is announced as ("OUTPUT B input 3 Media player").
    void showNames(const PortNames& names) override;
    void profileReplaced() override;

    // --- Window ----------------------------------------------------------------------------
    void onInitDialog() override;
    void onCommand(int id, int code) override;
    void onTimer(int id) override;
    LParam onMessage(unsigned msg, WParam wp, LParam lp) override;

    // --- WindowSkin ------------------------------------------------------------------------
    std::optional<FontSpec> fontFor(int id) const override;

    // --- what the parts share ----------------------------------------------------------------
    FrameSender& sender() { return link_.sender(); }
    PanelProfiles& profiles() { return ctx_.profiles; }
    // A wait goes into its second round: "Please wait . . ." animated every 500 ms, and the
    // progress box opened unless it is. Returns when the box it opened has closed.
    void startWaiting();
    OutputGrid& grid() { return grid_; }
    SwitchEngine& engine() { return engine_; }
    StatusRefresh& refresh() { return refresh_; }
    StoredSettings& settings() { return settings_; }
    SettingEditDialog& editDialog() { return editDialog_; }
    // TCP replies are taken from now until the next page switch (MatrixTcpArmed).
    void armTcp() { tcpArmed_ = true; }
    bool tcpArmed() const { return tcpArmed_; }
    // Opens and starts the page's serial channel on the shared port; false when it cannot.
    bool openSerial();
    // Whether the panels may act: no guard taken and nothing waiting for the matrix.
    bool panelsFree() const { return engine_.guardsFree() && !engine_.switching(); }
    // The link check of the panels: false, after telling the user, when the link of the current
    // mode is missing.
    bool panelLinkReady();

private:
    void layOut();
    void onGridClick(int id);
    bool gridLinkReady();
    void dispatch(const LinkedFrame& reply);
    void onStandby();

    bool tcpArmed_ = false;
    OutputGrid grid_;
    MatrixLayout layout_;
    MatrixRouting routing_;
    SwitchEngine engine_;
    StatusRefresh refresh_;
    OutputPanel panel_;
    StoredSettings settings_;
    SettingEditDialog editDialog_;
};

} // namespace zentrel
