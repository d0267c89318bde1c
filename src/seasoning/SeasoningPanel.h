#pragma once
// The seasoning calculator over the whole window: twenty seasonings with
// their salt per unit, an extra free row, a side calculator, and the total
// that "戻る" carries to the main window's seasoning strip.

#include "grid/core/SaltArithmetic.h"

#include <QFrame>
#include <QList>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class DateBox;
class Diary;
class Dialogs;
class SelectedBox;
class StatusLine;
class WaitingValues;

class SeasoningPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int Rows = 20;      // rows 0..19, the seasonings
    static constexpr int ExtraRow = 20;  // free amount, counted
    static constexpr int SideRow = 21;   // the side calculator's value, never counted

    // The rows follow the diary's seasoning table; "戻る" hands the total to
    // `waiting`, to land in `into`.
    SeasoningPanel(Diary& diary, Dialogs& dialogs, StatusLine& status, DateBox& date, SelectedBox& into,
                   WaitingValues& waiting, QWidget* parent);

    // Puts the names and unit salts of the seasoning table into rows 0..19.
    void ShowSeasoningTable();

    void Open();   // "調味料"
    void Close();  // "戻る"
    void EnbunGoukeiC();
    void MultiplyRow(int row, SaltOperation operation);
    void ResetRow(int row);
    void ToggleSideCalculator();  // "計"
    void CloseSideCalculator();   // "閉じる"
    void ScaleSideValue();        // "倍"
    void AddSideValue();          // "追加"

    // Rows 0..21; a control a row does not have stays null.
    std::array<QFrame*, Rows + 1> Picturec{};
    std::array<QCheckBox*, Rows + 1> CheckC{};
    std::array<QLineEdit*, Rows + 1> TextNameC{};
    std::array<QLineEdit*, Rows> TextTaniC{};
    std::array<QLineEdit*, Rows + 2> TextEnbunC{};
    std::array<QLabel*, Rows + 2> Labelcg{};
    std::array<QPushButton*, Rows> CommandR{};
    std::array<QPushButton*, Rows + 2> Commandc2b{};
    std::array<QPushButton*, Rows + 2> Commandc3b{};
    std::array<QPushButton*, Rows + 2> Commandc5b{};
    std::array<QPushButton*, Rows + 2> Commandc2w{};
    std::array<QPushButton*, Rows + 2> Commandc3w{};
    std::array<QPushButton*, Rows + 2> Commandc5w{};
    std::array<QLabel*, Rows> LabelC{};

    QFrame* Picture8 = nullptr;  // side calculator
    QLabel* Label47 = nullptr;
    QLineEdit* TextBaiC = nullptr;
    QPushButton* Command45 = nullptr;  // 倍
    QPushButton* Command50 = nullptr;  // 追加
    QPushButton* Command49 = nullptr;  // 閉じる

    QLabel* Label42 = nullptr;
    QLabel* Label43 = nullptr;
    QLabel* Label45 = nullptr;
    QLabel* LabelEnbunC = nullptr;
    QLabel* Label44 = nullptr;
    QPushButton* Command48 = nullptr;  // 計
    QPushButton* Command46 = nullptr;  // 戻る

    // Public: the window hands Tab on while the panel is open.
    bool focusNextPrevChild(bool next) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRow(int row);
    void buildExtraRow();
    void buildSideCalculator();
    void addMultipliers(QWidget* parent, int row, int x, int y);
    void wireRow(int row);
    void wireNumberBox(QLineEdit* box, std::function<void()> onEnter);
    void setTabChain();
    void wireRowKeys();
    void nameTick(int row);

    // The hint line a row shows its hints on, and the text it returns to.
    QLabel* hintLine(int row) const;
    void restHint(int row);
    void showHint(int row, const QString& text);
    bool tickedAndNamed(int row) const;
    void paintName(int row);
    void hideSide(int row);

    void onTicked(int row);
    void onNameChanged(int row);
    void onNameEnter(int row);
    void onUnitEnter(int row);
    void onSaltEnter(int row);
    void focusIn(QObject* watched);
    void focusOut(QObject* watched);

    Diary& diary_;
    Dialogs& dialogs_;
    StatusLine& status_;
    DateBox& date_;
    SelectedBox& into_;
    WaitingValues& waiting_;
    QList<QWidget*> tabRing_;
};

}  // namespace morv
