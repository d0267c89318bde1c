#pragma once
// "品名一覧": every item that counts toward the day's total, as taken when the
// panel opens, sixty to a page in three columns of names and salts.

#include "diary/SelectedItems.h"

#include <QFrame>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class Diary;
class StatusLine;

class SelectedItemsPanel : public QFrame {
    Q_OBJECT
public:
    // While open, the list follows the diary's item table.
    SelectedItemsPanel(Diary& diary, StatusLine& status, QWidget* parent);

    void Open();          // "品名一覧"
    void ShowPage();      // "表示", Enter in the page box
    void NextPage();      // ">"
    void PreviousPage();  // "<"

    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;
    QLineEdit* TextPAGE2 = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* LabelPAGE2 = nullptr;
    QPushButton* Command21 = nullptr;                 // <
    QPushButton* Command22 = nullptr;                 // 表示
    QPushButton* Command20 = nullptr;                 // >
    QPushButton* Command19 = nullptr;                 // 戻る
    std::array<QLabel*, ListCellsPerPage> LabelH1{};  // names
    std::array<QLabel*, ListCellsPerPage> LabelH2{};  // salts
    QLabel* WholeName = nullptr;                      // a cut name in full, while the keys are on it

    // The selected items, as the table now holds them.
    SelectedItemList SelectedItems;

    // Tab stays in the page box rather than reaching the covered window.
    // Public: the window hands Tab on while the panel is open.
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    inline static const QString NamesByArrowsText = QStringLiteral("下矢印キーで品名へ（矢印キーで移動）");

private:
    void FillItemListPage(int page);
    void showName(QLabel* cell, const QString& name);
    int pageCount() const;
    void step(int page);

    Diary& diary_;
    StatusLine& status_;
    int shownPage_ = 1;
};

}  // namespace morv
