#include "platform/EscapeKey.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace morv {
namespace {

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

void PassEscapeToTopPanel(QWidget* window) { window->installEventFilter(new TopPanelFilter(window)); }

void PressIfShown(QAbstractButton* button) {
    if (button->isVisible() && button->isEnabled()) button->click();
}

}  // namespace morv
