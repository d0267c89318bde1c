#pragma once
// Runs a step once, before the application handles its first key, click,
// wheel turn or touch, or before `done()` if no input came: what that step
// prepares is never seen missing by anything a user can do.

#include <QObject>
#include <functional>

namespace morv {

class BeforeFirstInput : public QObject {
    Q_OBJECT
public:
    BeforeFirstInput(std::function<void()> step, QObject* parent);
    // Runs the step now if it has not run yet.
    void done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> step_;
};

}  // namespace morv
