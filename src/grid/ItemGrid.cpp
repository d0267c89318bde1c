#include "grid/ItemGrid.h"

#include "app/Form1.h"

namespace morv {

ItemGrid::ItemGrid(Form1& form) : QObject(&form), form_(form) {}

void ItemGrid::ShowItemPage(int page) { form_.ItemPage = page; }

QList<QWidget*> ItemGrid::tabChain() const { return {}; }

}  // namespace morv
