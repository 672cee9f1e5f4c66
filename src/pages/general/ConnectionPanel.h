#pragma once
// The left column of the General page: the mode radios that set ControlMode, the COM group
// with its port list kept current by a re-scan every 500 ms, and the TCP group with the IP list
// that Search fills. It owns ComPortOpen and the shared port number, confirms the TCP link with
// the connect check, and tells every command button whether the link is ready.
#include "platform/SerialLink.h"
#include "profile/PanelState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrel {

class GeneralPage;

class ConnectionPanel {
public:
    enum class Check {
        Waiting,   // the connect is still under way: asked again in 100 ms
        Failed,    // refused, unreachable, or no answer within the patience
        Confirmed, // connected
    };

    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 19;

    explicit ConnectionPanel(GeneralPage& page);

    // The page's opening: probe the ports, fill the list, COM mode, start the re-scan.
    void open();
    bool onCommand(int id, int code);
    bool onTimer(int id);
    // 150 ms after the General tab was chosen: the link is checked or the port reopened.
    void activate();
    void search();
    // A line failure of the serial port: the page shows itself disconnected.
    void disconnectCom();
    // The mode, port and address the page shows, as the next start is to show them.
    void keepState(PanelState& kept);

    // --- COM ---------------------------------------------------------------------------------
    // The COM Connect button: connects on the shown port, or disconnects.
    void comConnect();
    bool comConnected() const { return comConnected_; }
    // Status after a return to the page forgets the page's own link so Connect opens it anew.
    void forgetComConnection() { comConnected_ = false; }
    void markReturned() { returned_ = true; }
    // Reads and clears the returned-to-General flag.
    bool takeReturned();
    const SerialSettings& settings() const { return settings_; }
    int portNumber() const { return portNumber_; }

    // --- TCP ---------------------------------------------------------------------------------
    // connectFor the General page to the address the IP list shows; `checkTimer` (45 or 47)
    // runs the connect check 100 ms later.
    void startTcpConnect(int checkTimer);
    // The connect check; shows the outcome on the TCP group. The caller reports a failure with
    // reportConnectFailed once its own bookkeeping is done.
    Check checkConnect(int checkTimer);
    // Shows the TCP link down and says so.
    void reportConnectFailed();
    // A page switch: the connect checks still waiting end, as the socket they watch is replaced.
    void endChecks();
    // Drops the TCP link and shows it disconnected; pending connect checks end with it.
    void dropTcp();

    // --- the readiness check of every command button ------------------------------------------
    bool ready() const;
    // When the link is not ready: the refusal notice, and true.
    bool refuseUnlessReady();

private:
    // The page comes up as it was left: the mode, the port chosen (not opened: connecting
    // stays the user's act) or the last address in the IP list.
    void restore();
    void rescan();
    std::vector<std::string> probe();
    void selectSharedPort();
    void closeCom(bool restartRescan, bool enableCombo);
    void chooseComMode();
    void chooseTcpMode();
    void showTcp(bool connected);
    void waitForActivationLink();

    GeneralPage& page_;
    SerialSettings settings_{115200, 'N', 8, 1, 3, 512};
    int portNumber_ = 0;
    bool comConnected_ = false;
    bool returned_ = false;
    std::int64_t connectStartedMs_ = 0;
    std::int64_t activationStartedMs_ = 0;
};

} // namespace zentrel
