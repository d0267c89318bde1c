#pragma once
// Saves the diary about two seconds after the user last did something, so a
// session that dies (a lost display connection, a power cut, a kill) loses at
// most those seconds. Every key and mouse release anywhere in the program
// restarts the wait, so a new panel needs no call of its own; changes the
// program makes by itself call changed(). A session manager's request to save
// (at logout) saves at once.

#include <QObject>
#include <QTimer>
#include <functional>

namespace morv {

class Autosave : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;

    Autosave(std::function<void()> save, QObject* parent);

    // Something changed: save after the delay, counted from now.
    void changed();
    // Nothing more is saved (the close saves by itself).
    void stop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> save_;
    QTimer timer_;
    bool stopped_ = false;
};

}  // namespace morv
