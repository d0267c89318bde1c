#pragma once
// The system's font configuration (its XML files, a fifth of an empty
// start's work) is read on a second core while the program connects to the
// display, instead of on the window's thread when the first caption is laid
// out. The toolkit's own first call then finds it read.

#include <thread>

namespace morv {

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp() { finish(); }
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits for the reading; before the first text is laid out, so that the
    // toolkit does not read the configuration a second time alongside.
    void finish() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

}  // namespace morv
