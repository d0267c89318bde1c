#pragma once
// Saves the diary about two seconds after its data last changed, so a session
// that dies (a lost display connection, a power cut, a kill) loses at most
// those seconds; the diary announces each real change, so a click or a key
// that changes nothing saves nothing. A session manager's request to save (at
// logout) saves at once.

#include <QObject>
#include <QTimer>
#include <functional>

namespace morv {

class Autosave : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;

    // save runs after the delay; saveNow at a session manager's request,
    // when everything must be on disk before the call returns.
    Autosave(std::function<void()> save, std::function<void()> saveNow, QObject* parent);

    // Something changed: save after the delay, counted from now.
    void changed();
    // Nothing more is saved (the close saves by itself).
    void stop();

private:
    std::function<void()> save_;
    std::function<void()> saveNow_;
    QTimer timer_;
    bool stopped_ = false;
};

}  // namespace morv
