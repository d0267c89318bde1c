#pragma once
// The in-process benchmarks. Their names are read back by the report:
//   read/<file>/<days>, write/<file>/<days>  through DataFiles
//   save/all/<days>                          the five writes of the close
//   floor:<any of those>                     the same bytes, read or written raw
//   handler/<control (what)>/<days>          at 10,000 and 100,000 days
//   autosave/{unchanged,changed}/<days>      at 100,000 and 1,000,000 days
//   register/{last,first}/1000000            a new day at either end
//   report/year/100000                       morvaline --report, a year of 100,000 days
//   foods/search, foods/memory               a keystroke's food search; the loaded table's bytes
//   session/{register,close,reread,merge}/1000000  a session at a million days (SessionBench.cpp)

#include <QString>

namespace morv::bench {

class DataSets;

inline constexpr int HandlerSizes[] = {10000, 100000};
inline constexpr int LogSizes[] = {1000, 10000, 100000, 1000000};

void RegisterStorageBenchmarks(DataSets& data);
// The check before a save and the merge of a log changed on two machines.
void RegisterSyncBenchmarks(DataSets& data);
// workRoot: where the windows keep their (unused) data folders.
void RegisterHandlerBenchmarks(const QString& workRoot);
void RegisterDiaryBenchmarks(const QString& workRoot);
// program: the morvaline binary, run with --report.
void RegisterReportBenchmark(DataSets& data, const QString& program);
void RegisterFoodBenchmarks();
// A session at 1,000,000 days on a copy of the data set, under workRoot.
void RegisterSessionBenchmarks(DataSets& data, const QString& workRoot);

}  // namespace morv::bench
