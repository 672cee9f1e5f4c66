#pragma once
// What follows an accepted configuration record: the acceptance is shown for 2 s, then the
// matrix is searched for again half a second later, so its new address is known; the search is
// given 5 s, and its failure is shown for half a second before the run ends. The timers are
// those of the host's window (7 to 10).
#include <string>

namespace zentrel {

class Window;

class ConfigSearchListener {
public:
    // The run's texts as they come: kConfiguredText, kSearchingText, kSearchFailedText.
    virtual void onConfigText(const std::string& text) = 0;
    // The host runs its discovery search now.
    virtual void onSearchNow() = 0;
    // The failure has been shown long enough.
    virtual void onSearchGivenUp() = 0;

protected:
    virtual ~ConfigSearchListener() = default;
};

class ConfigSearchAgain {
public:
    static constexpr int kShowResultTimer = 7;
    static constexpr int kSearchTimer = 8;
    static constexpr int kPatienceTimer = 9;
    static constexpr int kShowFailureTimer = 10;
    static constexpr int kShowResultMs = 2000;
    static constexpr int kBeforeSearchMs = 500;
    static constexpr int kPatienceMs = 5000;
    static constexpr int kShowFailureMs = 500;

    static constexpr const char* kConfiguredText = "Matrix configuration completed successfully!";
    static constexpr const char* kSearchingText = "Searching Matrix IP . . .";
    static constexpr const char* kSearchFailedText = "Search Matrix IP failed!";

    ConfigSearchAgain(Window& host, ConfigSearchListener& listener)
        : host_(host), listener_(listener) {}

    // The matrix took the record.
    void accepted();
    // The search found a matrix: the patience ends.
    void found();
    // True when the timer was one of the run's.
    bool onTimer(int id);

private:
    Window& host_;
    ConfigSearchListener& listener_;
};

} // namespace zentrel
