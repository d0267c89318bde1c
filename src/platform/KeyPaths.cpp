#include "platform/KeyPaths.h"

#include "platform/Covered.h"
#include "platform/ReturnFocus.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QWindow>

namespace morv {
namespace {

bool usable(const QAbstractButton* button) {
    return button && button->isVisible() && button->isEnabled() && !IsCovered(button);
}

bool isMenuKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

class RowKeyFilter final : public QObject {
public:
    RowKeyFilter(QLineEdit* box, RowKeys keys) : QObject(box), box_(box), keys_(std::move(keys)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_) return false;
        if (event->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
            !(keys_.commands.isEmpty() && keys_.extras.isEmpty())) {
            showMenu();
            return true;
        }
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isMenuKey(key) && !(keys_.commands.isEmpty() && keys_.extras.isEmpty())) {
            showMenu();
            return true;
        }
        if (key->key() != Qt::Key_Space || !keys_.tick) return false;
        if (key->modifiers() == Qt::ControlModifier ||
            (key->modifiers() == Qt::NoModifier && spaceWouldBlankName())) {
            // The focus stays in the box: the keyboard user goes on typing there.
            if (usable(keys_.tick)) keys_.tick->click();
            return true;
        }
        return false;
    }

private:
    // The focus selects the whole text, so the first Space typed into a named
    // row would leave it named by a blank alone: never what anyone means.
    bool spaceWouldBlankName() const {
        return keys_.spaceOverNameTicks && !box_->text().trimmed().isEmpty() &&
               box_->selectedText() == box_->text();
    }

    void showMenu() {
        // Without a parent widget: a screen reader finds it among the
        // application's children (ListMenusOnTree), where the path up from
        // its items leads.
        auto* menu = new QMenu;
        menu->setObjectName(QStringLiteral("RowMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(box_, &QObject::destroyed, menu, &QObject::deleteLater);
        menu->createWinId();
        if (QWindow* window = box_->window()->windowHandle())
            menu->windowHandle()->setTransientParent(window);
        for (QAbstractButton* button : keys_.commands) {
            QAction* action = menu->addAction(button->text());
            action->setEnabled(button->isEnabled());
            connect(action, &QAction::triggered, button, [button] { PressByKey(button); });
        }
        if (!keys_.extras.isEmpty()) menu->addSeparator();
        for (QAction* extra : keys_.extras) menu->addAction(extra);
        menu->popup(box_->mapToGlobal(QPoint(0, box_->height())));
        if (!menu->actions().isEmpty()) menu->setActiveAction(menu->actions().constFirst());
    }

    QLineEdit* box_;
    RowKeys keys_;
};

}  // namespace

void PressByKey(QAbstractButton* button) {
    if (!usable(button)) return;
    // A panel the button opens gives the focus back to where the key was pressed.
    const PressedFrom from(QApplication::focusWidget());
    if (button->focusPolicy() & Qt::ClickFocus) button->setFocus(Qt::OtherFocusReason);
    button->click();
}

void InstallRowKeys(QLineEdit* box, RowKeys keys) {
    box->installEventFilter(new RowKeyFilter(box, std::move(keys)));
}

}  // namespace morv
