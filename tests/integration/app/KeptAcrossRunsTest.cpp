// The panel started again keeps what the last run kept in $XDG_CONFIG_HOME/zentrel: the port
// names set in its dialog and a stored routing edited on the Matrix page. Each run is a child
// process of its own, wired as the program is, on the Qt event loop against the simulated matrix
// on a pseudo-terminal, so the second run shares nothing with the first but the files. Then the
// real program meets a corrupt file of its own state: it sets the file aside and keeps running.
#include "PanelOnQt.h"
#include "SimProcess.h"
#include "app/SystemCommands.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileStore.h"
#include "protocol/Commands.h"
#include "resources/ControlIds.h"

#include <gtest/gtest.h>

using namespace zentrel;
using namespace zentrel::testing;
using zentrel::sim::test::SimProcess;
namespace fs = std::filesystem;

namespace {

// One run of the panel in a child process, connected to COM3 and shown the Matrix tab; returns
// what `run` returns (0 for all well), 90 when the run could not get that far, -1 on a crash.
int panelRun(const std::function<int(PanelOnQt&, MatrixPage&)>& run) {
    const pid_t pid = fork();
    if (pid == 0) {
        PosixProfileFiles files;
        ProfileStore store(ProfileStore::defaultFolder(), files);
        PanelOnQt p(20000, &store);
        auto& matrix = dynamic_cast<MatrixPage&>(p.main->page(kPageMatrix));
        const bool ready =
            p.connectCom("COM3") && p.waitUntil([&] { return p.general->isChecked(gen::kBeep); });
        // Shown, with its routing read back: the refresh ends with output 4's.
        p.clickCaption(ctl::kMatrixCaption);
        const std::string last = cmd::queryRouting(4).hex();
        _exit(ready && p.waitUntil([&] {
            return matrix.created() && matrix.text(mtx::kSendLog).find(last) != std::string::npos &&
                   !p.app.state().MatrixBusy;
        })
                  ? run(p, matrix)
                  : 90);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(KeptAcrossRuns, NamesAndARoutingSurviveARestartAndACorruptStateIsSetAside) {
    SimProcess sim{{"--com", "3", "--no-tcp"}};
    ASSERT_TRUE(sim.waitFor("published as")) << sim.log() << sim.errors();
    const fs::path runtime = sim.portLink(3).parent_path().parent_path().parent_path();
    const fs::path config = runtime / "config";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    EXPECT_EQ(panelRun([](PanelOnQt& p, MatrixPage& matrix) {
                  QTimer::singleShot(100, [&] {
                      p.main->namesDialog().type(PortNamesDialog::inputField(3), "Media player");
                      p.main->namesDialog().type(PortNamesDialog::outputField(2), "Projector");
                      p.main->namesDialog().click(PortNamesDialog::kOk);
                  });
                  p.main->onSystemCommand(SC_PORT_NAMES);
                  matrix.choose(mtx::kSettingsList, 1);
                  QTimer::singleShot(100, [&] {
                      matrix.editDialog().type(mtx::kEditName, "Evening");
                      matrix.editDialog().choose(mtx::outFrom(1), 2); // In3
                      matrix.editDialog().click(mtx::kEditOk);
                  });
                  matrix.click(mtx::kEdit);
                  p.main->onCommand(ctl::kClose, BN_CLICKED);
                  return matrix.text(mtx::nameLabel(2)) == "Projector" ? 0 : 1;
              }),
              0);
    EXPECT_EQ(panelRun([](PanelOnQt&, MatrixPage& matrix) {
                  const auto& row = matrix.control(mtx::kSettingsList).rows.at(1);
                  return (matrix.text(mtx::nameLabel(2)) == "Projector" ? 0 : 1) |
                         (matrix.control(mtx::inputButton(1, 3)).tooltip == "Media player" ? 0
                                                                                           : 2) |
                         (row.at(0) == "Evening" && row.at(1) == "3" ? 0 : 4);
              }),
              0);

    std::ofstream(config / "zentrel" / "panel.json") << "{\"mode\": ";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const pid_t panel = test::startChild(ZENTREL_BIN, {}, runtime, runtime.string());
    for (int waited = 0; waited < 10000 && !fs::exists(config / "zentrel" / "panel.json.bad");
         waited += 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(fs::exists(config / "zentrel" / "panel.json.bad"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // time to fall over, if it did
    EXPECT_EQ(waitpid(panel, nullptr, WNOHANG), 0) << "the panel ended";
    kill(panel, SIGKILL);
    waitpid(panel, nullptr, 0);
    for (const char* var : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "QT_QPA_PLATFORM"}) {
        unsetenv(var);
    }
}
