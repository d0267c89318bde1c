#include "platform/EscapeKey.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace morv {
namespace {

// Marks the widget whose children are the panels Escape closes.
const char* const PanelHolderProperty = "morvPanelHolder";

// Whether `focus` lies in a panel that also holds `button`.
bool inPanelOf(const QWidget* focus, const QWidget* button) {
    for (const QWidget* p = focus->parentWidget();
         p && !p->isWindow() && !p->property(PanelHolderProperty).toBool(); p = p->parentWidget())
        if (p->isAncestorOf(button)) return true;
    return false;
}

bool isEscape(const QEvent* event) {
    return event->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

class EscapeFilter final : public QObject {
public:
    EscapeFilter(QWidget* panel, std::function<void()> onEscape)
        : QObject(panel), onEscape_(std::move(onEscape)) {}

    void run() const { onEscape_(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!isEscape(event)) return false;
        run();
        event->accept();
        return true;
    }

private:
    std::function<void()> onEscape_;
};

class TopPanelFilter final : public QObject {
public:
    explicit TopPanelFilter(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!isEscape(event)) return false;
        // Children are kept in stacking order, the top-most last.
        const QObjectList& children = window_->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            auto* panel = qobject_cast<QWidget*>(*it);
            if (!panel || !panel->isVisible()) continue;
            for (QObject* child : panel->children()) {
                if (auto* filter = dynamic_cast<EscapeFilter*>(child)) {
                    filter->run();
                    return true;
                }
            }
        }
        return false;
    }

private:
    QWidget* window_;
};

}  // namespace

void CloseOnEscape(QWidget* panel, std::function<void()> onEscape) {
    panel->installEventFilter(new EscapeFilter(panel, std::move(onEscape)));
}

void PassEscapeToTopPanel(QWidget* window) {
    window->setProperty(PanelHolderProperty, true);
    window->installEventFilter(new TopPanelFilter(window));
}

void PressIfShown(QAbstractButton* button) {
    if (!button->isVisible() || !button->isEnabled()) return;
    // A box of the panel that is being edited is left first, as a click on the
    // button leaves it: what leaving it does (a total recomputed) happens
    // before the button acts on it.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != button && (button->focusPolicy() & Qt::ClickFocus) && inPanelOf(focus, button))
        button->setFocus(Qt::OtherFocusReason);
    button->click();
}

}  // namespace morv
