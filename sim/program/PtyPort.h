#pragma once
// The simulator's serial port: a pseudo-terminal whose slave side is published as COMn in the
// panel's port directory. The panel opens and closes the slave on every tab change; while no
// one holds it the master only sees hang-ups, so the port stops reading then, keeps the master
// open, and looks again every few milliseconds until the slave is opened anew.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zentrel::sim {

class PtyPort : public QObject {
public:
    explicit PtyPort(int com, QObject* parent = nullptr);
    ~PtyPort() override;

    // Creates the pseudo-terminal and publishes its link; on failure says why in `error`.
    bool open(std::string& error);
    // Removes the link (only if it is still ours) and closes the master.
    void close();

    // Writes to the panel; false while no one holds the port.
    bool write(const std::vector<std::uint8_t>& bytes);

    const std::filesystem::path& linkPath() const { return link_; }
    const std::string& slavePath() const { return slave_; }

    std::function<void(const std::vector<std::uint8_t>&)> onData;
    std::function<void(bool held)> onHeldChanged;

private:
    void readable();
    void hungUp();
    void checkHangUp();

    int com_;
    int master_ = -1;
    std::string slave_;
    std::filesystem::path link_;
    bool held_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer hangUpPoll_;
};

} // namespace zentrel::sim
