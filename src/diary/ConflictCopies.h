#pragma once
// A sync program's conflict copy of one of the small files (Kiroku, Chomi,
// Moku): the version of the other save of two made within its delay. It is
// merged row by row, three ways, like the program's own merges. The base is
// the newest version this program has seen of the file (read or written in
// this run) that is neither the copy nor the file as it stands: the version
// both saves started from.

#include "storage/Records.h"

#include <QByteArrayView>
#include <QString>
#include <deque>
#include <optional>
#include <set>
#include <vector>

namespace morv {

// The versions of one file seen in this run, oldest first; a few are enough.
template <class Table>
class SeenVersions {
public:
    void remember(const Table& version) {
        if (!versions_.empty() && versions_.back() == version) return;
        versions_.push_back(version);
        if (versions_.size() > Kept) versions_.pop_front();
    }
    bool contains(const Table& version) const {
        for (const Table& seen : versions_)
            if (seen == version) return true;
        return false;
    }
    // The newest version that is neither `copy` nor `current`.
    std::optional<Table> baseFor(const Table& copy, const Table& current) const {
        for (auto it = versions_.rbegin(); it != versions_.rend(); ++it)
            if (*it != copy && *it != current) return *it;
        return std::nullopt;
    }

private:
    static constexpr size_t Kept = 6;
    std::deque<Table> versions_;
};

// The first `count` rows where two versions of a table differ.
template <class A, class B>
std::set<int> RowsThatDiffer(const A& a, const B& b, int count) {
    std::set<int> rows;
    for (int r = 0; r < count; ++r)
        if (!(a[static_cast<size_t>(r)] == b[static_cast<size_t>(r)])) rows.insert(r);
    return rows;
}

// The copy's rows, as the file's reader takes them; nothing when it is broken.
std::optional<ItemList> ItemsOfCopy(QByteArrayView bytes);
std::optional<SeasoningList> SeasoningsOfCopy(QByteArrayView bytes);
QString TargetOfCopy(QByteArrayView bytes);

// Row by row: a row the copy alone changed takes the copy's; one that both
// changed differently keeps this machine's value (`copyIsOurs`: the copy is
// this machine's own save, which lost to the other's in the sync program).
// Without a base every differing row counts as changed on both sides.
struct CopyMerge {
    std::set<int> taken;      // rows where the copy's value goes in
    std::set<int> conflicts;  // rows changed differently on both sides
};
template <class Row>
CopyMerge MergeCopyRows(const std::vector<Row>& data, const std::vector<Row>& copy,
                        const std::optional<std::vector<Row>>& base, bool copyIsOurs) {
    CopyMerge merge;
    for (size_t r = 0; r < data.size() && r < copy.size(); ++r) {
        if (data[r] == copy[r]) continue;
        const bool copyChanged = !base || r >= base->size() || (*base)[r] != copy[r];
        const bool dataChanged = !base || r >= base->size() || (*base)[r] != data[r];
        if (!copyChanged) continue;
        if (!dataChanged) {
            merge.taken.insert(static_cast<int>(r));
            continue;
        }
        merge.conflicts.insert(static_cast<int>(r));
        if (copyIsOurs) merge.taken.insert(static_cast<int>(r));
    }
    return merge;
}

}  // namespace morv
