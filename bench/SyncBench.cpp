// A data folder kept in step by a sync program: the check before each save,
// and the merge of a long log changed on both machines.

#include "Benchmarks.h"
#include "DataSets.h"

#include "diary/Diary.h"
#include "storage/DataFiles.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>

#include <chrono>

namespace morv::bench {
namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

const char* const Stems[] = {"Kiroku", "Chomi", "Moku", "Enbun", "Atu"};

// The real calls; any open counts, so a check that reads is caught.
class CountingOps final : public PosixFileOps {
public:
    int opens = 0;
    int open(const QByteArray& p, int f, mode_t m) override { return ++opens, PosixFileOps::open(p, f, m); }
};

void settings(benchmark::internal::Benchmark* bench) {
    bench->UseManualTime()->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
}

}  // namespace

void RegisterSyncBenchmarks(DataSets& data) {
    constexpr int Full = 100000;
    // Nothing changed: the five checks against five bare stats.
    settings(benchmark::RegisterBenchmark("sync/check/100000", [&data](benchmark::State& state) {
        const QString folder = data.folder(Full);
        CountingOps ops;
        DataFiles files(
            folder, [](const QString&) {}, [] { return QDateTime::currentDateTime(); }, ops);
        ItemList items = NewItemTable();
        SeasoningList rows{};
        QString target;
        LogList log;
        qint32 shift = 0;
        files.KirokuFileRead(items);
        files.ChomiFileRead(rows);
        files.MokuFileRead(target);
        files.EnbunFileRead(log);
        files.AtuFileRead(shift);
        std::vector<QByteArray> paths;
        for (const char* stem : Stems)
            paths.push_back(QFile::encodeName(folder + stem + QStringLiteral(".txt")));
        ops.opens = 0;
        double floor = 0;
        for (auto _ : state) {
            const Clock::time_point start = Clock::now();
            bool changed = false;
            for (const char* stem : Stems)
                changed = files.ChangedOnDisk(QString::fromLatin1(stem)) || changed;
            state.SetIterationTime(Since(start));
            const Clock::time_point between = Clock::now();
            struct stat st;
            for (const QByteArray& p : paths) benchmark::DoNotOptimize(::stat(p.constData(), &st));
            floor += Since(between);
            if (changed || ops.opens != 0) state.SkipWithError("the check saw a change or opened a file");
        }
        state.counters["floor"] = benchmark::Counter(floor, benchmark::Counter::kAvgIterations);
    }));

    // The log as another machine saved it (a reading changed, a day added)
    // while this one registered a day and changed another reading: its read
    // and the merge, against the plain read of the same file.
    settings(benchmark::RegisterBenchmark("sync/merge/100000", [&data](benchmark::State& state) {
        const QString folder = data.folder(Full);
        const QString there = folder + QStringLiteral("there/");
        QDir().mkpath(there);
        DataFiles files(
            folder, [](const QString&) {}, [] { return QDateTime::currentDateTime(); });
        DataFiles theirFiles(
            there, [](const QString&) {}, [] { return QDateTime::currentDateTime(); });
        LogList base;
        files.EnbunFileRead(base);
        LogList theirs = base;
        theirs[10].PressureLow = QStringLiteral("70");
        theirs.push_back({QStringLiteral("2099/01/01"), QStringLiteral("5"), {}, {}});
        theirFiles.EnbunFileWrite(theirs);
        double floor = 0;
        for (auto _ : state) {
            state.PauseTiming();
            Diary diary;
            diary.LoadDailyLog(base);
            diary.SetReading(20, QStringLiteral("80"), QStringLiteral("120"));
            diary.RegisterDay(FindLogPlace(diary.DailyLog(), QStringLiteral("2099/01/02")),
                              QStringLiteral("2099/01/02"), QStringLiteral("6"));
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();
            LogList read;
            theirFiles.EnbunFileRead(read);
            diary.TakeDailyLog(std::move(read));
            state.SetIterationTime(Since(start));
            if (diary.LogCount() != int(base.size()) + 2) state.SkipWithError("the merge lost a day");
            const Clock::time_point between = Clock::now();
            LogList plain;
            theirFiles.EnbunFileRead(plain);
            benchmark::DoNotOptimize(plain);
            floor += Since(between);
        }
        state.counters["floor"] = benchmark::Counter(floor, benchmark::Counter::kAvgIterations);
        QDir(there).removeRecursively();
    }));
}

}  // namespace morv::bench
