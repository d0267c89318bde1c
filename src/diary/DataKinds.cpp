#include "diary/DataKinds.h"

#include "diary/DiaryBooks.h"

#include "diary/Diary.h"
#include "storage/LogExchange.h"
#include "storage/TableParse.h"
#include "text/Cp932.h"

#include <algorithm>

namespace morv {

namespace {

// Each kind's own functions; the table below ties them to the kind.

int ReadItems(DataFiles& files, FileVersion& v, DataFiles::ReadUse* use) {
    return files.KirokuFileRead(v.items, use);
}
int ReadSeasonings(DataFiles& files, FileVersion& v, DataFiles::ReadUse* use) {
    return files.ChomiFileRead(v.seasonings, use);
}
int ReadTarget(DataFiles& files, FileVersion& v, DataFiles::ReadUse* use) {
    return files.MokuFileRead(v.target, use);
}
int ReadLog(DataFiles& files, FileVersion& v, DataFiles::ReadUse* use) {
    return files.EnbunFileRead(v.log, use);
}
int ReadShift(DataFiles& files, FileVersion& v, DataFiles::ReadUse* use) {
    return files.AtuFileRead(v.shift, use);
}

bool ParseItemCopy(QByteArrayView bytes, FileVersion& v) {
    const TableParse parse = ParseItems(bytes, v.items);
    return parse.complete() && parse.records <= size_t(StoredItemCount);
}
bool ParseSeasoningCopy(QByteArrayView bytes, FileVersion& v) {
    return ParseSeasonings(bytes, v.seasonings).complete();
}
bool ParseTargetCopy(QByteArrayView bytes, FileVersion& v) {
    v.target = FirstLine(DecodeCp932(bytes));
    return true;
}
bool ParseLogCopy(QByteArrayView bytes, FileVersion& v) {
    return ReadLogExchange(DecodeCp932(bytes), v.log) == LogCheck::Accepted;
}
bool ParseShiftCopy(QByteArrayView bytes, FileVersion& v) {
    bool ok = false;
    const qint32 shift = FirstLine(DecodeCp932(bytes)).trimmed().toInt(&ok);
    if (ok) v.shift = shift;
    return ok;
}

void LoadItems(Diary& d, FileVersion&& v) { d.LoadItemTable(std::move(v.items)); }
void LoadSeasonings(Diary& d, FileVersion&& v) { d.LoadSeasoningTable(v.seasonings); }
void LoadTarget(Diary& d, FileVersion&& v) { d.LoadSaltTarget(v.target); }
void LoadLog(Diary& d, FileVersion&& v) { d.LoadDailyLog(std::move(v.log)); }
void LoadShift(Diary& d, FileVersion&& v) { d.LoadPressureBarShift(v.shift); }

int WriteItems(DataFiles& files, Diary& d, bool adopting) {
    // An import preview is not the file's content until it is adopted.
    if (d.ItemImportPending() && !adopting) return 0;
    ItemList items = d.ItemTable();
    const int failed = files.KirokuFileWrite(items);
    if (!failed) DiaryBooks(d).SavedItems(items);
    return failed;
}
int WriteSeasonings(DataFiles& files, Diary& d, bool) {
    SeasoningList rows = d.SeasoningTable();
    const int failed = files.ChomiFileWrite(rows);
    if (!failed) DiaryBooks(d).SavedSeasonings(rows);
    return failed;
}
int WriteTarget(DataFiles& files, Diary& d, bool) {
    const int failed = files.MokuFileWrite(d.SaltTarget());
    if (!failed) DiaryBooks(d).Saved(DataFile::Moku);
    return failed;
}
int WriteLog(DataFiles& files, Diary& d, bool adopting) {
    // An empty log is no file, unless an import adopted says so.
    if (!adopting && (d.LogCount() == 0 || d.LogImportPending())) return 0;
    const int failed = files.EnbunFileWrite(d.DailyLog());
    if (!failed) DiaryBooks(d).Saved(DataFile::Enbun);
    return failed;
}
int WriteShift(DataFiles& files, Diary& d, bool) {
    const int failed = files.AtuFileWrite(d.PressureBarShift());
    if (!failed) DiaryBooks(d).Saved(DataFile::Atu);
    return failed;
}

bool ItemsDiffer(const Diary& d, const FileVersion& v) {
    return !std::equal(d.ItemTable().begin(), d.ItemTable().begin() + StoredItemCount, v.items.begin());
}
bool SeasoningsDiffer(const Diary& d, const FileVersion& v) { return d.SeasoningTable() != v.seasonings; }
bool TargetDiffers(const Diary& d, const FileVersion& v) { return d.SaltTarget() != v.target; }
bool LogDiffers(const Diary& d, const FileVersion& v) { return d.DailyLog() != v.log; }
bool ShiftDiffers(const Diary& d, const FileVersion& v) { return d.PressureBarShift() != v.shift; }

void AllItems(DiaryUnjournaled& u) { u.allItems = true; }
void AllSeasonings(DiaryUnjournaled& u) {
    for (int row = 0; row < SeasoningRowCount; ++row) u.seasonings.insert(row);
}
void Target(DiaryUnjournaled& u) { u.target = true; }
// The log replaced as a whole: every day before goes, every day now is written.
void WholeLog(DiaryUnjournaled& u) {
    u.logDeleted = u.allDays = true;
    u.days.clear();
}
void Shift(DiaryUnjournaled& u) { u.shift = true; }

void ShowItems(Diary& d) { emit d.itemChanged(-1); }
void ShowSeasonings(Diary& d) { emit d.seasoningChanged(-1); }
void ShowTarget(Diary& d) { emit d.targetChanged(); }
void ShowLog(Diary& d) { emit d.logChanged(); }
void ShowShift(Diary& d) { emit d.barShiftChanged(); }

}  // namespace

constexpr std::array<DataKind, DataFileCount> DataKinds{{
    {DataFile::Kiroku, "Kiroku", SmallFileCeiling, "品名の表には、読み込めたところまでを表示しています。",
     "品名の表には、読み取れた内容を表示しています。", ReadItems, ParseItemCopy, LoadItems, WriteItems,
     ShowItems, ItemsDiffer, AllItems},
    {DataFile::Chomi, "Chomi", SmallFileCeiling, "調味料は初期値を使います。",
     "調味料には、読み取れた内容を表示しています。", ReadSeasonings, ParseSeasoningCopy, LoadSeasonings,
     WriteSeasonings, ShowSeasonings, SeasoningsDiffer, AllSeasonings},
    {DataFile::Moku, "Moku", SmallFileCeiling, "塩分目標は空欄です。",
     "塩分目標には、1 行目を表示しています。", ReadTarget, ParseTargetCopy, LoadTarget, WriteTarget,
     ShowTarget, TargetDiffers, Target},
    {DataFile::Enbun, "Enbun", LogFileCeiling, "塩分一覧は空の状態です。",
     "塩分一覧には、読み取れた内容を表示しています。", ReadLog, ParseLogCopy, LoadLog, WriteLog, ShowLog,
     LogDiffers, WholeLog},
    {DataFile::Atu, "Atu", SmallFileCeiling, "血圧グラフの位置は既定の 3000 です。",
     "血圧グラフの位置には、読み取れた値 (読めないときは 3000) を使います。", ReadShift, ParseShiftCopy,
     LoadShift, WriteShift, ShowShift, ShiftDiffers, Shift},
}};

// Every kind has its row, at its own index: a kind added to the enum without
// a row, or rows out of order, does not compile.
constexpr bool EveryKindHasItsRow() {
    for (std::size_t i = 0; i < DataKinds.size(); ++i)
        if (static_cast<std::size_t>(DataKinds[i].file) != i || !DataKinds[i].read || !DataKinds[i].write ||
            !DataKinds[i].differs || !DataKinds[i].journalWhole)
            return false;
    return static_cast<std::size_t>(DataFile::Atu) + 1 == DataFileCount;
}
static_assert(EveryKindHasItsRow(), "every kind of data needs its row in DataKinds, in the enum's order");

const DataKind* KindOfName(const QString& name) {
    for (const DataKind& kind : DataKinds) {
        const QLatin1String stem(kind.stem);
        if (name.startsWith(stem) && name.size() > stem.size() && name[stem.size()] == u'.') return &kind;
    }
    return nullptr;
}

}  // namespace morv
