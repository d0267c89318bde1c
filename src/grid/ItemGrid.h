#pragma once
// The paged grid of food items: sixteen rows over the 160 records of the item
// table, ten pages, every edit written through to its record at once.

#include <QList>
#include <QObject>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace morv {

class Form1;

class ItemGrid : public QObject {
    Q_OBJECT
public:
    static constexpr int Rows = 16;

    // Builds the row controls inside the window's sixteen row panels.
    explicit ItemGrid(Form1& form);

    // Loads page p into the rows and paints rows and page buttons.
    void ShowItemPage(int page);

    // The grid's boxes in tab order: name, sodium and salt of row 0, then row 1...
    QList<QWidget*> tabChain() const;

    std::array<QCheckBox*, Rows> Check{};
    std::array<QLineEdit*, Rows> TextName{};
    std::array<QLineEdit*, Rows> TextNa{};
    std::array<QLineEdit*, Rows> TextEnbun{};

private:
    Form1& form_;
};

}  // namespace morv
