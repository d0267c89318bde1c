#pragma once
// Launches a Qt program under the X server of $DISPLAY, times it from launch
// to the first paint of its window, closes the window as a window manager
// would (WM_DELETE_WINDOW) and times the close until the process has ended.
// It runs in a process of its own (startup-probe), because a child's peak
// memory starts from that of the process that launched it.
//
// A close that saves nothing is not what a user pays, so a launch can first
// make a day's change as a user would, through the X server's test extension:
// type a new date into the date box (which has the focus at start), click an
// item's tick and the register command, answer the notice with Return. The
// time from the window shown to that notice is the time until the window
// answers its first input, the log read included.

#include <optional>
#include <string>

struct _XDisplay;

namespace morv::bench {

struct Launch {
    double showSeconds = 0;    // launch to the first pixel painted in the window
    double closeSeconds = 0;   // close request to the end of the process
    double peakMegabytes = 0;  // the child's peak resident set
    double answerSeconds = 0;  // window shown to the notice of the change (0: no change made)
};

struct Point {
    int x = 0, y = 0;
};

// Where to click, in the window's own pixels, and the digits to type.
struct Change {
    std::string dateDigits;  // replaces the date box's text, e.g. "90000102"
    Point tick;              // an item's tick on the first page
    Point registerDay;       // the command that registers the day
};

class StartupProbe {
public:
    StartupProbe();
    ~StartupProbe();
    StartupProbe(const StartupProbe&) = delete;
    StartupProbe& operator=(const StartupProbe&) = delete;

    bool connected() const { return display_ != nullptr; }
    // Runs program with XDG_DATA_HOME=dataHome, making `change` before the
    // close when given; nothing when it showed no window (or no notice) within
    // 60 s or did not end after the close.
    // settleSeconds: how long the window is left running after the change,
    // so that its autosave has run when it closes.
    std::optional<Launch> run(const std::string& program, const std::string& dataHome,
                              const Change* change = nullptr, double settleSeconds = 0.1);

private:
    // The notice's window, once shown, answered; false when none came.
    bool makeChange(unsigned long window, const Change& change, double& answerSeconds);

    _XDisplay* display_ = nullptr;
};

}  // namespace morv::bench
