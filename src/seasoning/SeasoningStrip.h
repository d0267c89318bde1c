#pragma once
// The seasoning strip of the main window: opens the calculator and carries
// its total into the selected grid salt box. It also clears every item tick
// ("チェック外す"), the one main-window command of the seasoning subsystem.

#include <QFrame>

class QLabel;
class QPushButton;

namespace morv {

class DateBox;
class Diary;
class Dialogs;
class SelectedBox;
class WaitingValues;

class SeasoningStrip : public QFrame {
    Q_OBJECT
public:
    // The carried total is `waiting`'s, which the strip shows; it lands in `into`.
    SeasoningStrip(Diary& diary, Dialogs& dialogs, DateBox& date, SelectedBox& into, WaitingValues& waiting,
                   QWidget* parent);

    // "塩分設定" (add = false) and "塩分加算" (add = true).
    void Transfer(bool add);
    // "チェック外す": asks, then unticks all 160 items.
    void ClearAllTicks();

    QPushButton* Command43 = nullptr;  // 調味料
    QPushButton* Command44 = nullptr;  // 塩分設定
    QPushButton* Command51 = nullptr;  // 塩分加算
    QLabel* LabelEnbunR = nullptr;     // carried total, "0" when there is none
    QLabel* Label41 = nullptr;

private:
    void showCarried(const QString& salt);

    Diary& diary_;
    Dialogs& dialogs_;
    DateBox& date_;
    SelectedBox& into_;
    WaitingValues& waiting_;
};

}  // namespace morv
