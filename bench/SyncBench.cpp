// A data folder kept in step by a sync program: the check before each save,
// and the fold of another machine's journal over a long log, at the start
// and while running.

#include "Benchmarks.h"
#include "DataSets.h"

#include "diary/ChangeJournal.h"
#include "diary/Diary.h"
#include "storage/DataFiles.h"
#include "storage/Journal.h"

#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

    // Another machine's journal, which took in the same 100,000 days, folded
    // at the start; then two of its new lines (a reading changed, a day
    // added) folded while running. Both against the plain read of the log.
    auto fold = [&data](benchmark::State& state, bool atStart) {
        const QString folder = data.folder(Full);
        QTemporaryDir scratch;
        const QString there = scratch.path() + QStringLiteral("/Tavelnor/");
        QDir().mkpath(there + QStringLiteral("journal"));
        DataFiles files(
            folder, [](const QString&) {}, [] { return QDateTime::currentDateTime(); });
        LogList base;
        files.EnbunFileRead(base);
        const QByteArray node = "bbbbbbbbbbbbbbbb";
        Stamp at{QDateTime::currentMSecsSinceEpoch() - 60000, 0, node};
        std::vector<JournalEntry> lines;
        for (const LogRecord& day : base)
            lines.push_back({at, "day", day.LogDate, {day.DaySalt, day.PressureLow, day.PressureHigh}});
        JournalWriter writer(SystemFileOps(), there + QStringLiteral("journal/"), node,
                             QStringLiteral("laptop"));
        writer.append(lines);
        std::array<std::optional<qint64>, DataFileCount> times{};
        times[size_t(DataFile::Enbun)] = at.millis - 1000;
        const auto now = [] { return QDateTime::currentMSecsSinceEpoch(); };
        double floor = 0;
        int extra = 0;
        for (auto _ : state) {
            state.PauseTiming();
            Diary diary;
            diary.LoadDailyLog(base);
            ChangeJournal journal(diary, there, Machine{"aaaaaaaaaaaaaaaa", QStringLiteral("desk")},
                                  SystemFileOps(), now);
            if (!atStart) {
                journal.Start(times);
                ++at.counter;
                const QString date =
                    QStringLiteral("2199/01/%1").arg(++extra % 28 + 1, 2, 10, QLatin1Char('0'));
                writer.append(
                    {{at, "day", base[10].LogDate, {base[10].DaySalt, QStringLiteral("70"), QString()}},
                     {at, "day", date, {QStringLiteral("5"), QString(), QString()}}});
            }
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();
            if (atStart)
                journal.Start(times);
            else
                journal.ReadOthers();
            state.SetIterationTime(Since(start));
            if (diary.LogCount() < int(base.size())) state.SkipWithError("the fold lost a day");
            const Clock::time_point between = Clock::now();
            LogList plain;
            files.EnbunFileRead(plain);
            benchmark::DoNotOptimize(plain);
            floor += Since(between);
        }
        state.counters["floor"] = benchmark::Counter(floor, benchmark::Counter::kAvgIterations);
    };
    settings(benchmark::RegisterBenchmark("sync/start-fold/100000",
                                          [fold](benchmark::State& state) { fold(state, true); }));
    settings(benchmark::RegisterBenchmark("sync/merge/100000",
                                          [fold](benchmark::State& state) { fold(state, false); }));
}

}  // namespace morv::bench
