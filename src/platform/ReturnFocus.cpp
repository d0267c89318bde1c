#include "platform/ReturnFocus.h"

#include "platform/Covered.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace morv {

namespace {

QPointer<QWidget> pressedFrom;

class FocusReturner final : public QObject {
public:
    FocusReturner(QWidget* panel, std::function<QWidget*()> fallback)
        : QObject(panel), panel_(panel), fallback_(std::move(fallback)) {
        panel->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != panel_) return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Show) {
            QWidget* focus = pressedFrom ? pressedFrom.data() : QApplication::focusWidget();
            if (focus && !inside(focus)) opener_ = focus;
        } else if (event->type() == QEvent::Hide) {
            // Still before Qt moves a focus left inside to the panel's next
            // control, which may be hidden with it.
            // The window's own focus, also while another program is active.
            QWidget* focus = panel_->window()->focusWidget();
            if (focus && inside(focus)) giveBack();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool inside(const QWidget* widget) const { return widget == panel_ || panel_->isAncestorOf(widget); }

    static bool canTake(const QWidget* widget) {
        return widget && widget->isVisible() && widget->isEnabled() && !IsCovered(widget);
    }

    void giveBack() {
        QWidget* target = opener_.data();
        if (!canTake(target) || inside(target)) target = fallback_ ? fallback_() : nullptr;
        if (!canTake(target) || inside(target)) return;
        if (target->window() != panel_->window()) target->window()->activateWindow();
        target->setFocus(Qt::PopupFocusReason);
    }

    QWidget* panel_;
    std::function<QWidget*()> fallback_;
    QPointer<QWidget> opener_;
};

}  // namespace

PressedFrom::PressedFrom(QWidget* from) : before_(pressedFrom) { pressedFrom = from; }

PressedFrom::~PressedFrom() { pressedFrom = before_; }

void ReturnFocusOnHide(QWidget* panel, std::function<QWidget*()> fallback) {
    new FocusReturner(panel, std::move(fallback));
}

}  // namespace morv
