#pragma once
// The paged grid of food items: sixteen rows over the 160 records of the item
// table, ten pages, every edit written through to its record at once.

#include "grid/core/SaltArithmetic.h"
#include "ui/SelectedBox.h"

#include <QList>
#include <QObject>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace morv {

class DateBox;
class Diary;
class Dialogs;
class StatusLine;
class WaitingValues;
struct ItemRecord;

class ItemGrid : public QObject, public SelectedBox {
    Q_OBJECT
public:
    static constexpr int Rows = 16;
    static constexpr int Pages = 10;

    // Builds the row controls inside the window's sixteen row panels and
    // wires its page buttons. The rows follow the diary's item table.
    ItemGrid(Diary& diary, Dialogs& dialogs, StatusLine& status, DateBox& date, const WaitingValues& waiting,
             const std::array<QFrame*, Rows>& rowPanels, const std::array<QPushButton*, Pages>& pageButtons,
             QObject* parent);

    int ItemPage() const { return page_; }
    GridSelection Selection() const override { return selection_; }

    // Makes page p the shown page, loads it into the rows and paints rows and
    // page buttons. Loading stores nothing but "0" into an empty tick and a
    // name without its surrounding blanks.
    void ShowItemPage(int page);
    // No grid box is the target of a conversion or transfer any more.
    void ClearSelection();
    // The selected box's item gets `text`, as if typed and finished; the box
    // a plain colour and the focus.
    void PutIntoSelectedBox(const QString& text) override;
    QString SelectedBoxText() const override;
    // Yellow: a pending value will land there; or plain again.
    void MarkSelectedBox(bool marked) override;
    // Colours row r from its record: the panel by name, the name box by tick and name.
    void PaintItemRow(int row);
    // Colours the ten page buttons from the table; the shown page is salmon.
    void PaintPageButtons();

    // "塩分換算": the row's sodium as salt into its salt box.
    void ConvertSodiumRow(int row);
    // "x2" ... "1/5": the row's salt scaled in place.
    void MultiplySaltRow(int row, SaltOperation operation);

    // The grid's boxes in tab order: name, sodium and salt of row 0, then row 1...
    QList<QWidget*> tabChain() const;
    // The slot of the row being worked on: the row whose box has the focus,
    // else the selected area's, else the page's first.
    int CurrentSlot() const;

    // Row controls, indexed by row.
    std::array<QCheckBox*, Rows> Check{};
    std::array<QLabel*, Rows> LabelName{};
    std::array<QLineEdit*, Rows> TextName{};
    std::array<QPushButton*, Rows> Command2b{};
    std::array<QPushButton*, Rows> Command3b{};
    std::array<QPushButton*, Rows> Command5b{};
    std::array<QPushButton*, Rows> Command2w{};
    std::array<QPushButton*, Rows> Command3w{};
    std::array<QPushButton*, Rows> Command5w{};
    std::array<QLabel*, Rows> LabelNa{};
    std::array<QLineEdit*, Rows> TextNa{};
    std::array<QLabel*, Rows> Labelmg{};
    std::array<QPushButton*, Rows> CommandNa{};
    std::array<QLineEdit*, Rows> TextEnbun{};
    std::array<QLabel*, Rows> Labelg{};

signals:
    // The row's "食品成分表から選ぶ…": a food of the built-in table for this slot.
    void foodTableRequested(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRow(int row);
    void wireRow(int row);
    // whole: every box set, as for a page shown anew; otherwise only those
    // that do not show their value yet.
    void loadRow(int row, bool whole);
    // A slot of the table changed (-1: any): its row shows it again.
    void itemChanged(int slot);
    // The record a row of the shown page stands for, and its slot; null if
    // the page or the table is out of shape, in which case the handlers
    // change nothing.
    const ItemRecord* record(int row) const;
    int slot(int row) const;
    QLineEdit* selectedBox() const;
    void paintNameBox(int row);
    void nameTick(int row);

    void onPageClicked(int page);
    void onTicked(int row, bool ticked);
    void onNameChanged(int row);
    void onSodiumChanged(int row);
    void onSaltChanged(int row);
    void onAreaFocused(int row, bool salt);
    // A box Tab passes through: the selection stays where it was.
    void passedArea(int row, bool salt);
    void onSaltEnter();
    void onSaltLeft(int row);

    Diary& diary_;
    Dialogs& dialogs_;
    StatusLine& status_;
    DateBox& date_;
    const WaitingValues& waiting_;
    std::array<QFrame*, Rows> rowPanels_;
    std::array<QPushButton*, Pages> pageButtons_;
    int page_ = 0;
    GridSelection selection_;
    bool edited_ = false;   // the focused box was typed in
    bool passing_ = false;  // the last box was left by Tab untouched
};

}  // namespace morv
