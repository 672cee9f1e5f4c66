// The names people give the ports, kept in the profile of the matrix on COM3 in a folder of the
// test's own: shown where the pages show the ports once they are read at a connect, set in the
// "Port names..." dialog, and carried by the export and import of the settings.
#include "CtlRun.h"
#include "FileFolder.h"
#include "PanelFixture.h"
#include "app/PortNamesDialog.h"
#include "app/SettingsTransfer.h"
#include "app/SystemCommands.h"
#include "app/TrafficWindow.h"
#include "pages/edid/EdidPage.h"
#include "pages/matrix/MatrixIds.h"
#include "pages/matrix/MatrixPage.h"
#include "profile/PosixProfileFiles.h"
#include "profile/ProfileJson.h"
#include "profile/ProfileStore.h"

#include <filesystem>
#include <fstream>

using namespace zentrel;
using namespace zentrel::testing;

namespace {

PageFactory namedPages() {
    return [](int number, PageContext& ctx) -> std::unique_ptr<Page> {
        if (number == kPageMatrix) {
            return std::make_unique<MatrixPage>(ctx);
        }
        if (number == kPageEdid) {
            return std::make_unique<EdidPage>(ctx);
        }
        return pagesWith()(number, ctx);
    };
}

struct KeptNames : ::testing::Test {
    FileFolder folder;
    PosixProfileFiles files;
    // Where the panel and zentrel-ctl keep the profiles, under XDG_CONFIG_HOME.
    ProfileStore store{folder.path() + "/zentrel", files};
    PanelFixture f{{}, namedPages(), &store};
    const std::string com3 = ProfileStore::comProfile(3);

    // A change made by another program, as zentrel-ctl makes it.
    void elsewhere(const std::function<void(MatrixProfile&)>& change) {
        ProfileStore(folder.path() + "/zentrel", files).changeMatrix(com3, change);
    }
    // The name set by the tool a script runs, as a process of its own.
    void nameByCtl(const char* kind, const char* port, const char* name) {
        setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        const test::CtlResult r = test::runCtl({"--com", "3", "name", kind, port, name});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    Window& page(int n) { return f.main->page(n).window(); }
    std::string lastBox() const { return f.ui.boxes.empty() ? "" : f.ui.boxes.back(); }
};

} // namespace

TEST_F(KeptNames, NamesSetByZentrelCtlAreShownFromTheNextConnectAndNoNameChangesNothing) {
    f.connectCom();
    f.general->click(gen::kStatus);
    EXPECT_EQ(f.general->text(gen::inputLine(3)), "HDMI IN3: Connect");
    nameByCtl("input", "3", "Media player");
    nameByCtl("output", "B", "Projector");
    f.general->click(gen::kComConnect); // disconnect, then connect again
    f.connectCom();
    f.clickCaption(ctl::kMatrixCaption);
    f.advance(300);
    page(kPageMatrix).click(mtx::inputButton(2, 3));
    f.advance(300);
    f.clickCaption(ctl::kEdidCaption);
    f.advance(300);
    f.main->onSystemCommand(SC_TRAFFIC);
    const std::string traffic = f.main->trafficWindow().text(TrafficWindow::kText);

    Window& matrix = page(kPageMatrix);
    const auto shown = [&](int id) { return std::string(matrix.isShown(id) ? "shown" : "hidden"); };
    const auto logged = [&](const std::string& s) {
        return traffic.find(s) < traffic.size() ? s : traffic;
    };
    const std::pair<std::string, std::string> rows[] = {
        {f.general->text(gen::inputLine(3)), "HDMI IN3: Connect  Media player"},
        {f.general->text(gen::outputLine(2)), "HDMI OUTB: Connect  Projector"},
        {f.general->text(gen::inputLine(2)), "HDMI IN2: Connect"},
        {matrix.text(mtx::nameLabel(2)) + " " + shown(mtx::nameLabel(2)), "Projector shown"},
        {shown(mtx::nameLabel(1)), "hidden"},
        {matrix.control(mtx::inputButton(4, 3)).tooltip, "Media player"},
        {matrix.control(mtx::inputButton(1, 3)).accessibleSuffix, "Media player"},
        {matrix.control(mtx::inputButton(2, 2)).tooltip, ""},
        {page(kPageEdid).control(edid::kModeTarget).items[2], "IN3  Media player"},
        {page(kPageEdid).control(edid::kCopySource).items[1], "HDMI OUT B  Projector"},
        {logged("route input 3 (Media player) to output B (Projector)"),
         "route input 3 (Media player) to output B (Projector)"},
        {logged("ask which input output B (Projector) shows"),
         "ask which input output B (Projector) shows"},
    };
    for (const auto& [shows, expected] : rows) {
        EXPECT_EQ(shows, expected);
    }
}

TEST_F(KeptNames, TheDialogRefusesABadNameAndKeepsTheOthersOfALargerUnit) {
    f.main->onSystemCommand(SC_PORT_NAMES);
    EXPECT_EQ(lastBox(), std::string("Port names: ") + PortNamesDialog::kNoMatrix);
    elsewhere([](MatrixProfile& p) { p.inputNames[6] = "Seven"; });
    f.connectCom();
    const struct {
        std::string input1;
        std::string box;
    } tries[] = {
        {std::string(21, 'x'), "refused: longer than 20 characters."},
        {"Media\tplayer", "refused: holds a control character."},
        {"\xC3(", "refused: is not UTF-8 text."},
        {"  Camera ", ""},
    };
    for (const auto& t : tries) {
        f.ui.boxes.clear();
        f.whenDialogOpens([&](Window& w) {
            EXPECT_FALSE(w.isShown(PortNamesDialog::inputField(5))); // a four-input unit
            w.type(PortNamesDialog::inputField(1), t.input1);
            w.type(PortNamesDialog::outputField(2), "Projector");
            w.click(PortNamesDialog::kOk);
            if (!w.modalEnded()) {
                w.click(PortNamesDialog::kCancel);
            }
        });
        f.main->onSystemCommand(SC_PORT_NAMES);
        const MatrixProfile kept = store.matrix(com3);
        EXPECT_EQ(lastBox().find(t.box), t.box.empty() ? 0 : lastBox().size() - t.box.size());
        EXPECT_EQ(kept.outputNames[1], t.box.empty() ? "Projector" : "") << t.input1;
        EXPECT_EQ(kept.inputNames[0], t.box.empty() ? "Camera" : "") << t.input1;
        EXPECT_EQ(kept.inputNames[6], "Seven");
    }
}

TEST_F(KeptNames, ACorruptProfileIsSetAsideAndAnImportRefusesABadFileWhole) {
    std::filesystem::create_directories(folder.dir() / "zentrel");
    std::ofstream(folder.dir() / "zentrel" / "com3.json") << R"({"inputs": [)";
    f.connectCom();
    EXPECT_NE(lastBox().find("set aside as com3.json.bad"), std::string::npos) << lastBox();
    EXPECT_TRUE(std::filesystem::exists(folder.dir() / "zentrel" / "com3.json.bad"));
    elsewhere([](MatrixProfile& p) { p.inputNames[0] = "Camera"; });
    const MatrixProfile before = store.matrix(com3);
    const std::string named = R"("outputs": ["", "Projector", "", "", "", "", "", ""])";
    const struct {
        std::string file;
        std::string refused; // empty: taken
    } imports[] = {
        {"{" + named, "is not valid JSON"},
        {"{" + named + "}", "says no version"},
        {R"({"version": 2, )" + named + "}", "the version is not a whole number"},
        {R"({"version": 1, "inputs": ["", "", "", "", "", "", "", "a\u0007"], )" + named + "}",
         "the name of input 8 holds a control character"},
        {R"({"version": 1, "outputs": ["", "b\u0001", "", "", "", "", "", ""]})",
         "the name of output B holds a control character"},
        {std::string(SettingsTransfer::kLargestFile + 1, ' '), "larger than any settings file"},
        {R"({"version": 1, )" + named + "}", ""},
    };
    for (const auto& i : imports) {
        std::ofstream(folder.dir() / "in.json") << i.file;
        f.ui.answers = {(folder.dir() / "in.json").string()};
        f.main->onSystemCommand(SC_IMPORT);
        MatrixProfile expected = before;
        expected.outputNames[1] = i.refused.empty() ? "Projector" : "";
        EXPECT_EQ(store.matrix(com3), expected) << i.refused;
        EXPECT_NE(lastBox().find(i.refused.empty() ? "were imported" : i.refused),
                  std::string::npos)
            << lastBox();
    }
    f.ui.answers = {(folder.dir() / "out.json").string()};
    f.main->onSystemCommand(SC_EXPORT);
    std::ifstream out(folder.dir() / "out.json");
    const std::string text{std::istreambuf_iterator<char>(out), {}};
    EXPECT_EQ(importedProfile(text, MatrixProfile{}), store.matrix(com3));
}
