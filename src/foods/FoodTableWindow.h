#pragma once
// The search window "食品成分表": find a food of the built-in table, give the
// grams eaten, and hand the row it makes to whoever opened the window. It
// knows nothing of the diary or the main window; the row goes out by fillRow.

#include "foods/core/FoodTable.h"
#include "storage/Records.h"

#include <QHash>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace morv {

class Dialogs;

// The longest search text; what a paste brings beyond it is left out, and told.
inline constexpr int SearchMaxLength = 100;
inline QString SearchCutText() {
    return QStringLiteral("食品名は%1文字までです。それより後は入れていません").arg(SearchMaxLength);
}
class FoodResultsModel;

class FoodTableWindow : public QWidget {
    Q_OBJECT
public:
    FoodTableWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window for item slot `slot`, whose record now is `current`
    // (asked about before another food replaces it). The table is read at the
    // first call.
    void openForRow(int slot, const ItemRecord& current);

    // The controls, for tests and the keyboard paths.
    QLineEdit* searchBox() const { return search_; }
    QTableView* results() const { return results_; }
    QLabel* status() const { return status_; }
    QLineEdit* gramsBox() const { return grams_; }
    QLabel* amountLabel() const { return amount_; }
    QPushButton* fillButton() const { return fill_; }

signals:
    // The ticked row for the food and grams chosen, for slot `slot`.
    void fillRow(int slot, morv::ItemRecord record);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filter();
    void pick();
    void showAmount();
    void fillTheRow();
    const Food* picked() const;

    Dialogs& dialogs_;
    const FoodTable* table_ = nullptr;
    FoodResultsModel* model_ = nullptr;
    QLineEdit* search_;
    QTableView* results_;
    QLabel* status_;
    QLabel* food_;
    QLineEdit* grams_;
    QLabel* amount_;
    QPushButton* fill_;
    int slot_ = -1;
    ItemRecord current_;
    int picked_ = -1;                // index into the table, -1 none
    QHash<int, QString> lastGrams_;  // by food number, for this run
};

}  // namespace morv
