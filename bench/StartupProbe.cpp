#include "StartupProbe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace morv::bench {
namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A window can vanish between an event and the next request about it.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// The server is started with a black root (-br) and Qt maps its windows with
// no background, so a window stays black until the program paints into it.
bool painted(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    const int w = attributes.width, h = attributes.height;
    const int points[][2] = {{w / 2, h / 2}, {5, 5}, {w - 5, h - 5}, {w / 2, 5}, {5, h / 2}, {w / 4, h / 4}};
    for (const auto& p : points) {
        XImage* image = XGetImage(display, window, p[0], p[1], 1, 1, AllPlanes, ZPixmap);
        if (!image) continue;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        if (pixel != 0) return true;
    }
    return false;
}

// The next top-level window mapped other than `except` (tooltips and menus
// are passed over); 0 when `stop` says so first.
template <typename Stop>
Window nextMapped(Display* d, Window except, Stop stop) {
    const int fd = ConnectionNumber(d);
    while (!stop()) {
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && event.xmap.window != except)
                return event.xmap.window;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 5);
    }
    return 0;
}

// Whether `window` was unmapped or destroyed before `stop` says so.
template <typename Stop>
bool gone(Display* d, Window window, Stop stop) {
    while (!stop()) {
        while (XPending(d)) {
            XEvent event;
            XNextEvent(d, &event);
            if ((event.type == UnmapNotify && event.xunmap.window == window) ||
                (event.type == DestroyNotify && event.xdestroywindow.window == window))
                return true;
        }
        usleep(1000);
    }
    return false;
}

void key(Display* d, std::initializer_list<KeySym> chord) {
    for (KeySym k : chord) XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, CurrentTime);
    for (auto k = std::rbegin(chord); k != std::rend(chord); ++k)
        XTestFakeKeyEvent(d, XKeysymToKeycode(d, *k), False, CurrentTime);
}

void click(Display* d, Window window, Point at) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), at.x, at.y, &x, &y, &child);
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(d, Button1, True, CurrentTime);
    XTestFakeButtonEvent(d, Button1, False, CurrentTime);
}

std::vector<std::string> childEnvironment(const std::string& dataHome) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_DATA_HOME=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        env.push_back(entry);
    }
    env.push_back("XDG_DATA_HOME=" + dataHome);
    env.push_back("QT_QPA_PLATFORM=xcb");
    return env;
}

}  // namespace

StartupProbe::StartupProbe() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
}

StartupProbe::~StartupProbe() {
    if (display_) XCloseDisplay(display_);
}

bool StartupProbe::makeChange(Window window, const Change& change, double& answerSeconds) {
    Display* d = display_;
    const Clock::time_point shown = Clock::now();
    auto after = [](Clock::time_point start, double limit) {
        return [start, limit] { return secondsSince(start) > limit; };
    };
    XSetInputFocus(d, window, RevertToParent, CurrentTime);
    key(d, {XK_Control_L, XK_a});
    for (char digit : change.dateDigits) key(d, {static_cast<KeySym>(XK_0 + (digit - '0'))});
    click(d, window, change.tick);
    click(d, window, change.registerDay);
    XFlush(d);
    const Window notice = nextMapped(d, window, after(shown, 60));
    if (!notice) return false;
    answerSeconds = secondsSince(shown);
    const Clock::time_point asked = Clock::now();
    while (!painted(d, notice)) {
        if (secondsSince(asked) > 10) return false;
        usleep(200);
    }
    XSetInputFocus(d, notice, RevertToParent, CurrentTime);
    key(d, {XK_Return});
    XFlush(d);
    return gone(d, notice, after(asked, 10));
}

std::optional<Launch> StartupProbe::run(const std::string& path, const std::string& dataHome,
                                        const Change* change, double settleSeconds) {
    Display* d = display_;
    XSync(d, True);  // drops the events of earlier runs

    std::vector<std::string> env = childEnvironment(dataHome);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};

    const Clock::time_point launched = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return std::nullopt;

    auto giveUp = [&]() -> std::optional<Launch> {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return std::nullopt;
    };
    Launch result;
    const Window window = nextMapped(
        d, 0, [&] { return secondsSince(launched) > 60 || waitpid(pid, nullptr, WNOHANG) == pid; });
    if (!window) return giveUp();
    while (!painted(d, window)) {
        if (secondsSince(launched) > 60) return giveUp();
        usleep(200);
    }
    result.showSeconds = secondsSince(launched);
    if (change && !makeChange(window, *change, result.answerSeconds)) return giveUp();

    // Let the first frame settle so that the close is timed on its own.
    usleep(useconds_t(settleSeconds * 1e6));
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    const Clock::time_point closing = Clock::now();
    XSendEvent(d, window, False, NoEventMask, &close);
    XFlush(d);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (secondsSince(closing) > 60) return giveUp();
        usleep(200);
    }
    result.closeSeconds = secondsSince(closing);
    result.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return result;
}

}  // namespace morv::bench
