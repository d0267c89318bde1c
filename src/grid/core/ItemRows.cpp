#include "grid/core/ItemRows.h"

#include "diary/DayTotal.h"

namespace morv {

int SlotOf(int page, int row) {
    if (page < 0 || page >= GridPages || row < 0 || row >= GridRows) return -1;
    return page * GridRows + row;
}

static bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

QString TrimBlanks(QStringView name) {
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && isBlank(name[begin])) ++begin;
    while (end > begin && isBlank(name[end - 1])) --end;
    return name.mid(begin, end - begin).toString();
}

bool ShowsTicked(const QString& checked) { return checked == u"1"; }

PageMark MarkOfPage(const ItemList& items, int page) {
    PageMark mark = PageMark::Empty;
    for (int row = 0; row < GridRows; ++row) {
        const int slot = SlotOf(page, row);
        if (slot < 0 || slot >= static_cast<int>(items.size())) break;
        const ItemRecord& item = items[static_cast<size_t>(slot)];
        if (IsSelectedItem(item)) return PageMark::Counted;
        if (!item.ItemName.isEmpty()) mark = PageMark::Named;
    }
    return mark;
}

}  // namespace morv
