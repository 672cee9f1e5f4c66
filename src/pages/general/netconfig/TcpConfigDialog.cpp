#include "TcpConfigDialog.h"

#include "TcpConfigDialogTemplate.h"
#include "TcpConfigIds.h"
#include "app/NoticePopup.h"
#include "resources/ResourceIds.h"
#include "state/SharedState.h"

#include <cctype>

namespace zentrel {

namespace {

Rect moved(Rect r, int dx, int dy) {
    return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The text between the (k-1)-th and the k-th dot of a dotted address, for k = 1..4. A missing
// dot leaves the field as it is (nullopt), except the last, which takes the text after the last
// dot found, or the whole text.
std::optional<std::string> octetText(const std::string& ip, int k) {
    std::size_t start = 0;
    for (int i = 1; i < k; ++i) {
        const std::size_t dot = ip.find('.', start);
        if (dot == std::string::npos) {
            if (k == 4) {
                return ip.substr(start);
            }
            return std::nullopt;
        }
        start = dot + 1;
    }
    if (k == 4) {
        return ip.substr(start);
    }
    const std::size_t dot = ip.find('.', start);
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    return ip.substr(start, dot - start);
}

} // namespace

TcpConfigDialog::TcpConfigDialog(EventLoop& loop, SharedState& state, BroadcastSocket& socket,
                                 NoticePopup& notice)
    : Window(loop), state_(state), notice_(notice), log_(*this, nc::kReceiveLog),
      exchange_(*this, socket, *this, &log_) {}

bool TcpConfigDialog::open() {
    if (state_.SelectedMac.empty()) {
        return false;
    }
    if (!created()) {
        create(tcpConfigDialogTemplate());
    } else {
        fill();
    }
    show();
    return true;
}

void TcpConfigDialog::onInitDialog() {
    setTitle(nc::kTitleText);
    setRect(nc::kTitle, moved(control(nc::kTitle).rect, 1, 1));
    setRect(nc::kClose, moved(control(nc::kClose).rect, -1, 1));
    setColors(nc::kTitle, rgb(255, 255, 255), kTitleBlue);
    closeButton_.attach(*this, nc::kClose);
    closeButton_.setDrawBorder(false, false);
    closeButton_.setIcons(res::kCloseIconHot, res::kCloseIcon, false);
    closeButton_.setTooltip("Close");
    for (int slot : {SkinButton::BackIn, SkinButton::BackOut, SkinButton::BackFocus}) {
        closeButton_.setColor(slot, kTitleBlue, false);
    }

    fill();
    setChecked(nc::kAutoIp, true);
    setChecked(nc::kStaticIp, false);
    chooseMode(true);

    // A one-pixel grey frame round the dialog, and rounded corners.
    const Rect g = geometry();
    ControlTemplate frame{nc::kFrame, ControlKind::Frame, ""};
    frame.accessibleName = "Window frame";
    addControl(frame);
    setRect(nc::kFrame, Rect{0, 0, g.width(), g.height()});
    setCornerEllipse(3);
    centreOn(state_.MainClientRect);
}

void TcpConfigDialog::fill() {
    for (int k = 1; k <= nc::kOctets; ++k) {
        if (const auto text = octetText(state_.MatrixIp, k)) {
            setText(nc::octet(k), *text);
        }
    }
    // Field k shows characters 2k-1 and 2k of the MAC text (what there is of them).
    const std::string& mac = state_.SelectedMac;
    for (int k = 1; k <= nc::kMacBytes; ++k) {
        const std::size_t from = static_cast<std::size_t>(2 * (k - 1));
        setText(nc::macByte(k), from < mac.size() ? mac.substr(from, 2) : "");
    }
}

void TcpConfigDialog::chooseMode(bool automatic) {
    for (int k = 1; k <= nc::kOctets; ++k) {
        enable(nc::octet(k), !automatic);
    }
}

void TcpConfigDialog::keepFieldForm(int id) {
    // The fields are narrow and do not scroll: an octet takes up to three digits, a MAC field
    // two characters, shown in upper case.
    const bool isOctet = id >= nc::octet(1) && id <= nc::octet(nc::kOctets);
    std::string kept;
    for (char c : text(id)) {
        if (isOctet && kept.size() < 3 && c >= '0' && c <= '9') {
            kept += c;
        } else if (!isOctet && kept.size() < 2 && c != ' ') {
            kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    if (kept != text(id)) {
        setText(id, kept);
    }
}

void TcpConfigDialog::onCommand(int id, int code) {
    if (code == EN_CHANGE) {
        if ((id >= nc::octet(1) && id <= nc::octet(nc::kOctets)) ||
            (id >= nc::macByte(1) && id <= nc::macByte(nc::kMacBytes))) {
            keepFieldForm(id);
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case nc::kAutoIp:
        chooseMode(true);
        break;
    case nc::kStaticIp:
        chooseMode(false);
        break;
    case nc::kOk:
        send();
        break;
    case nc::kCancel:
    case nc::kClose:
        hide();
        break;
    default:
        break;
    }
}

std::string TcpConfigDialog::fieldProblem() const {
    if (isChecked(nc::kStaticIp)) {
        for (int k = 1; k <= nc::kOctets; ++k) {
            if (!ConfigRecord::octetField(text(nc::octet(k)))) {
                return "IP address octet " + std::to_string(k) + " must be 0 to 255!";
            }
        }
    }
    for (int k = 1; k <= nc::kMacBytes; ++k) {
        if (!ConfigRecord::macField(text(nc::macByte(k)))) {
            return "MAC byte " + std::to_string(k) + " must be two hex digits!";
        }
    }
    return {};
}

void TcpConfigDialog::send() {
    if (const std::string problem = fieldProblem(); !problem.empty()) {
        setTimer(nc::kNoticeTimer, nc::kNoticeMs);
        notice_.show(problem);
        return;
    }
    ConfigRecord& record = exchange_.record();
    ConfigRecord::Mac target{};
    const std::size_t got = ConfigRecord::hexToBytes(state_.SelectedMac, target);
    if (got == target.size()) {
        record.setTarget(target);
    }
    if (isChecked(nc::kStaticIp)) {
        ConfigRecord::Ipv4 ip{};
        for (int k = 1; k <= nc::kOctets; ++k) {
            ip[static_cast<std::size_t>(k - 1)] = *ConfigRecord::octetField(text(nc::octet(k)));
        }
        record.setStatic(ip);
    } else {
        record.setAuto();
    }
    ConfigRecord::Mac mac{};
    for (int k = 1; k <= nc::kMacBytes; ++k) {
        mac[static_cast<std::size_t>(k - 1)] = *ConfigRecord::macField(text(nc::macByte(k)));
    }
    record.setNewMac(mac);
    // A socket that cannot be opened is not reported at once: no answer comes, and the run
    // ends with "configure failed!".
    exchange_.send();
    hide();
    if (Window* main = loop().mainWindow()) {
        main->postMessage(WM_APP_PROGRESS, 1, 0);
    }
}

void TcpConfigDialog::onTimer(int id) {
    if (id == nc::kNoticeTimer) {
        killTimer(id);
        notice_.close();
    }
}

LParam TcpConfigDialog::onMessage(unsigned msg, WParam wp, LParam lp) {
    if (msg == WM_CONFIG_SOCKET) {
        exchange_.onNotification(wp, lp);
    }
    return 0;
}

void TcpConfigDialog::onConfigAccepted() {
    if (Window* main = loop().mainWindow()) {
        main->postMessage(WM_APP_RESULT, 1, 0);
    }
}

} // namespace zentrel
