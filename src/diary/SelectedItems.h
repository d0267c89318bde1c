#pragma once
// The overview of selected items: a snapshot of every item that counts toward
// the day's total, shown sixty to a page in three columns of twenty.

#include "storage/Records.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace morv {

struct SelectedItem {
    QString name;
    QString salt;
};
using SelectedItemList = std::vector<SelectedItem>;

inline constexpr int ListCellsPerPage = 60;

// The selected items of slots 0..159, in slot order.
SelectedItemList BuildSelectedItems(const ItemList& items);

// Pages of sixty, a remainder counting as one more; an empty list has one page.
int ListPageCount(int count);

// The number in a page box; a box without one (emptied by the user) stands
// for the page shown.
int PageBoxValue(QStringView box, int shown);
// A page number brought into 1..pages.
int ClampListPage(int page, int pages);
// ">" and "<" step the box's value, wrapping around at either end; a value
// out of range is brought back by the clamp.
int NextListPage(int value, int pages);
int PreviousListPage(int value, int pages);

// What cell k of a page shows: the name after a blank, turned full-width; the
// salt followed by a blank.
QString NameCellText(const QString& name);
QString SaltCellText(const QString& salt);

}  // namespace morv
