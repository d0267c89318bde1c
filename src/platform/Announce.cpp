#include "platform/Announce.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace morv {

namespace {

// A notice a screen reader speaks when it appears: Orca 43 takes the data of
// a description-change event for the text, and Qt 6.4 sends the object there
// instead, so a changed description alone is not spoken; a notification
// that appears is.
class SpokenNotice final : public QWidget {
    Q_OBJECT
public:
    explicit SpokenNotice(QWidget* window) : QWidget(window) {
        setObjectName(QStringLiteral("SpokenNotice"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, 1, 1);
        hide();
        // Shown a moment after the change: a page turn renames a hundred
        // controls at once, and Orca drops what comes in such a flood.
        showLater_.setSingleShot(true);
        showLater_.setInterval(250);
        connect(&showLater_, &QTimer::timeout, this, [this] {
            raise();
            show();
            hideLater_.start();
        });
        hideLater_.setSingleShot(true);
        hideLater_.setInterval(3000);
        connect(&hideLater_, &QTimer::timeout, this, &QWidget::hide);
    }
    void say(const QString& text) {
        hide();
        setAccessibleName(text);
        showLater_.start();
    }

private:
    QTimer showLater_;
    QTimer hideLater_;
};

class NoticeAccessible final : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QWidget* notice) : QAccessibleWidget(notice, QAccessible::Notification) {}
};

QAccessibleInterface* NoticeFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(SpokenNotice::staticMetaObject.className()) && object->isWidgetType())
        return new NoticeAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void Notify(QWidget* focus, const QString& text) {
    static const bool factoryInstalled = (QAccessible::installFactory(NoticeFactory), true);
    Q_UNUSED(factoryInstalled);
    QWidget* window = focus->window();
    auto* notice = window->findChild<SpokenNotice*>(QString(), Qt::FindDirectChildrenOnly);
    if (!notice) notice = new SpokenNotice(window);
    notice->say(text);
}

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

// Keeps `widget`'s own description aside, to come back when it loses the focus.
void keepOwnDescription(QWidget* widget) {
    if (widget->property(OwnDescription).isValid()) return;
    widget->setProperty(OwnDescription, widget->accessibleDescription());
    new DescriptionKeeper(widget);
}

// What one key or click changed is said at once, in one breath: the tick,
// then the total it made.
QStringList pending;

void speakPending() {
    if (pending.isEmpty()) return;
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, qApp, speakPending);
        return;
    }
    const QString text = pending.join(QStringLiteral("、"));
    pending.clear();
    QWidget* focus = QApplication::focusWidget();
    if (!focus || text.isEmpty()) return;
    keepOwnDescription(focus);
    // The same words twice in a row are still a new event (a second refusal).
    focus->setAccessibleDescription(text);
    // Sent whether or not the description differs: the same words twice in a
    // row (a second refusal) are news too.
    QAccessibleEvent changed(focus, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    Notify(focus, text);
}

class ValueOnFocus final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box || box->echoMode() != QLineEdit::Normal) return false;
        keepOwnDescription(box);
        const QString own = box->property(OwnDescription).toString();
        const QString value = box->text();
        box->setAccessibleDescription(value.isEmpty() ? own
                                      : own.isEmpty() ? value
                                                      : value + QStringLiteral("、") + own);
        return false;
    }
};

}  // namespace

void SpeakValuesOnFocus() {
    static ValueOnFocus* const filter = [] {
        auto* f = new ValueOnFocus(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
}

void Announce(const QString& text) {
    if (text.isEmpty()) return;
    if (pending.isEmpty()) QTimer::singleShot(0, qApp, speakPending);
    // The latest word on one thing stands (a total typed over twice).
    if (!pending.isEmpty() &&
        pending.last().section(QLatin1Char(' '), 0, 0) == text.section(QLatin1Char(' '), 0, 0))
        pending.removeLast();
    pending << text;
}

}  // namespace morv

#include "Announce.moc"
