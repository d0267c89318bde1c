#pragma once
// Launches a Qt program under the X server of $DISPLAY, times it from launch
// to the first paint of its window, closes the window as a window manager
// would (WM_DELETE_WINDOW) and times the close until the process has ended.
// It runs in a process of its own (startup-probe), because a child's peak
// memory starts from that of the process that launched it.

#include <optional>
#include <string>

struct _XDisplay;

namespace morv::bench {

struct Launch {
    double showSeconds = 0;    // launch to the first pixel painted in the window
    double closeSeconds = 0;   // close request to the end of the process
    double peakMegabytes = 0;  // the child's peak resident set
};

class StartupProbe {
public:
    StartupProbe();
    ~StartupProbe();
    StartupProbe(const StartupProbe&) = delete;
    StartupProbe& operator=(const StartupProbe&) = delete;

    bool connected() const { return display_ != nullptr; }
    // Runs program with XDG_DATA_HOME=dataHome; nothing when it showed no
    // window within 60 s or did not end after the close.
    std::optional<Launch> run(const std::string& program, const std::string& dataHome);

private:
    _XDisplay* display_ = nullptr;
};

}  // namespace morv::bench
