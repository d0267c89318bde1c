#include "platform/Announce.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace morv {

namespace {

const char* const OwnDescription = "morvOwnDescription";

// Puts a control's own description back once the focus has left it.
class DescriptionKeeper final : public QObject {
public:
    explicit DescriptionKeeper(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            auto* widget = static_cast<QWidget*>(watched);
            widget->setAccessibleDescription(widget->property(OwnDescription).toString());
            widget->setProperty(OwnDescription, QVariant());
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }
};

// What one key or click changed is said at once, in one breath: the tick,
// then the total it made.
QStringList pending;

void speakPending() {
    const QString text = pending.join(QStringLiteral("、"));
    pending.clear();
    QWidget* focus = QApplication::focusWidget();
    if (!focus || text.isEmpty()) return;
    if (!focus->property(OwnDescription).isValid()) {
        focus->setProperty(OwnDescription, focus->accessibleDescription());
        new DescriptionKeeper(focus);
    }
    // The same words twice in a row are still a new event (a second refusal).
    focus->setAccessibleDescription(text);
    // Sent whether or not the description differs: the same words twice in a
    // row (a second refusal) are news too.
    QAccessibleEvent changed(focus, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace

void Announce(const QString& text) {
    if (text.isEmpty()) return;
    if (pending.isEmpty()) QTimer::singleShot(0, qApp, speakPending);
    // The latest word on one thing stands (a total typed over twice).
    if (!pending.isEmpty() && pending.last().section(QLatin1Char(' '), 0, 0) == text.section(QLatin1Char(' '), 0, 0))
        pending.removeLast();
    pending << text;
}

}  // namespace morv
