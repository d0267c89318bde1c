#include "platform/BeforeFirstInput.h"

#include <QCoreApplication>
#include <QEvent>

namespace morv {

BeforeFirstInput::BeforeFirstInput(std::function<void()> step, QObject* parent)
    : QObject(parent), step_(std::move(step)) {
    QCoreApplication::instance()->installEventFilter(this);
}

void BeforeFirstInput::done() {
    if (!step_) return;
    QCoreApplication::instance()->removeEventFilter(this);
    std::exchange(step_, nullptr)();
}

bool BeforeFirstInput::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::Close:
            done();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace morv
