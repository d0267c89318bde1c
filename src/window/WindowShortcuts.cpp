// The window's keys: F1, the page keys and the Alt shortcuts of the commands
// that Tab does not reach.

#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/SaltListScreen.h"
#include "platform/KeyPaths.h"
#include "platform/core/Dialogs.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "ui/Shortcuts.h"
#include "window/Form1.h"

#include <QPushButton>
#include <QShortcut>

#include <functional>

namespace morv {

void Form1::showShortcutList() { dialogs_.notice(keys::ListText()); }

void Form1::installShortcuts() {
    auto bind = [this](const QKeySequence& sequence, std::function<void()> action) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, std::move(action));
    };
    // A command is pressed as a click presses it, and only while it could be
    // clicked: a panel over it takes its keys away with it.
    auto press = [&bind](const QKeySequence& sequence, std::function<QAbstractButton*()> button) {
        bind(sequence, [button] { PressByKey(button()); });
    };
    auto describe = [](QWidget* control, const QString& key) { control->setAccessibleDescription(key); };

    bind(Qt::Key_F1, [this] { showShortcutList(); });
    auto turnPage = [this](bool forward) {
        if (PictureH_.isVisible()) return PressByKey(forward ? PictureH_->Command20 : PictureH_->Command21);
        if (PictureE_.isVisible()) return PressByKey(forward ? PictureE_->Command18 : PictureE_->Command17);
        const int page = Grid_->ItemPage() + (forward ? 1 : -1);
        if (page >= 0 && page < ItemGrid::Pages) PressByKey(CommandP_[static_cast<size_t>(page)]);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [turnPage] { turnPage(true); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [turnPage] { turnPage(false); });

    // The food table for the row being worked on, from the main view only.
    bind(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        if (PictureE_.isVisible() || PictureH_.isVisible() || PictureCho_.isVisible()) return;
        OpenFoodTable(Grid_->CurrentSlot());
    });
    press(QKeySequence(Qt::ALT | Qt::Key_D), [this] { return Command30_; });
    press(QKeySequence(Qt::ALT | Qt::Key_L), [this] { return Command13_; });
    press(QKeySequence(Qt::ALT | Qt::Key_U), [this] { return Command47_; });
    press(QKeySequence(Qt::ALT | Qt::Key_W), [this] { return Picture1_->Command4; });
    press(QKeySequence(Qt::ALT | Qt::Key_C), [this] { return Picture7_->Command43; });
    press(QKeySequence(Qt::ALT | Qt::Key_S), [this] { return Picture7_->Command44; });
    press(QKeySequence(Qt::ALT | Qt::Key_A), [this] { return Picture7_->Command51; });
    // The calculator's own commands; it is built when it first opens.
    auto calculator = [this] { return PictureCho_.built(); };
    press(QKeySequence(Qt::ALT | Qt::Key_K),
          [calculator] { return calculator() ? calculator()->Command48 : nullptr; });
    press(QKeySequence(Qt::ALT | Qt::Key_B),
          [calculator] { return calculator() ? calculator()->Command45 : nullptr; });
    press(QKeySequence(Qt::ALT | Qt::Key_T),
          [calculator] { return calculator() ? calculator()->Command50 : nullptr; });

    describe(Command30_, keys::Delete);
    describe(Command13_, keys::SelectedList);
    describe(Command47_, keys::UntickAll);
    describe(Picture1_->Command4, keys::Weight);
    describe(Picture7_->Command43, keys::Calculator);
    describe(Picture7_->Command44, keys::SetSalt);
    describe(Picture7_->Command51, keys::AddSalt);
    for (QPushButton* page : CommandP_) describe(page, keys::Pages);
}

}  // namespace morv
