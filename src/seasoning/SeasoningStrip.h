#pragma once
// The seasoning strip of the main window: opens the calculator and carries
// its total into the selected grid salt box. It also clears every item tick
// ("チェック外す"), the one main-window command of the seasoning subsystem.

#include <QFrame>

class QLabel;
class QPushButton;

namespace morv {

class Diary;
class MainWindow;

class SeasoningStrip : public QFrame {
    Q_OBJECT
public:
    SeasoningStrip(Diary& diary, MainWindow& window, QWidget* parent);

    // "塩分設定" (add = false) and "塩分加算" (add = true).
    void Transfer(bool add);
    // The carried total, "0" for none, shown and heard.
    void SetCarried(const QString& salt);
    // "チェック外す": asks, then unticks all 160 items.
    void ClearAllTicks();

    QPushButton* Command43 = nullptr;  // 調味料
    QPushButton* Command44 = nullptr;  // 塩分設定
    QPushButton* Command51 = nullptr;  // 塩分加算
    QLabel* LabelEnbunR = nullptr;     // carried total, "0" when there is none
    QLabel* Label41 = nullptr;

private:
    Diary& diary_;
    MainWindow& window_;
};

}  // namespace morv
