// Each data file read and written through DataFiles, against the floor: the
// same bytes read or written raw (RawFiles.h).

#include "Benchmarks.h"
#include "DataSets.h"
#include "RawFiles.h"

#include "storage/DataFiles.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace morv::bench {
namespace {

std::string path(const QString& folder, const QString& file) { return (folder + file).toStdString(); }

QByteArray contents(const QString& folder, const QString& stem) {
    QFile file(folder + stem + QStringLiteral(".txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool rawWrite(const QString& folder, const QByteArray& bytes) {
    return RawWrite(folder.toStdString(), bytes.constData(), static_cast<size_t>(bytes.size()));
}

DataFiles filesIn(const QString& folder) {
    return DataFiles(
        folder, [](const QString&) {}, [] { return QDateTime::currentDateTime(); });
}

using Clock = std::chrono::steady_clock;

// Times the program's step and the floor's step alternately in one loop, so
// that both meet the same machine (a disk's fsync time swings widely from one
// second to the next): the program's time is the benchmark's own, the floor's
// is the counter "floor".
// `untimed`, when given, runs after both, outside either time.
void paired(benchmark::State& state, const std::function<bool()>& program, const std::function<bool()>& floor,
            const std::function<void()>& untimed = {}) {
    double floorSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        bool ok = program();
        const Clock::time_point between = Clock::now();
        ok = floor() && ok;
        state.SetIterationTime(std::chrono::duration<double>(between - start).count());
        floorSeconds += std::chrono::duration<double>(Clock::now() - between).count();
        if (untimed) untimed();
        if (!ok) state.SkipWithError("a step failed");
    }
    state.counters["floor"] = benchmark::Counter(floorSeconds, benchmark::Counter::kAvgIterations);
}

void settings(benchmark::internal::Benchmark* bench) {
    bench->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.2)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

// Registers the read and the write of one file of one data set.
template <class Table, class Read, class Write>
void registerFile(DataSets& data, const QString& stem, int days, Read read, Write write) {
    const std::string suffix = QStringLiteral("/%1/%2").arg(stem).arg(days).toStdString();
    settings(benchmark::RegisterBenchmark(
        ("read" + suffix).c_str(), [&data, stem, days, read](benchmark::State& state) {
            const QString folder = data.folder(days);
            const std::string file = path(folder, stem + QStringLiteral(".txt"));
            std::vector<char> buffer(static_cast<size_t>(contents(folder, stem).size()) + 1);
            DataFiles files = filesIn(folder);
            paired(
                state,
                [&] {
                    Table table{};
                    const bool ok = read(files, table) == 0;
                    benchmark::DoNotOptimize(table);
                    return ok;
                },
                [&] { return RawRead(file, buffer); });
        }));
    settings(benchmark::RegisterBenchmark(
        ("write" + suffix).c_str(), [&data, stem, days, read, write](benchmark::State& state) {
            const QString folder = data.folder(days);
            const QByteArray bytes = contents(folder, stem);
            DataFiles files = filesIn(folder);
            Table table{};
            read(files, table);
            paired(
                state, [&] { return write(files, table) == 0; }, [&] { return rawWrite(folder, bytes); });
        }));
}

struct Tables {
    ItemList items = NewItemTable();
    SeasoningList seasonings{};
    QString target;
    LogList log;
    qint32 shift = DefaultPressureBarShift;
};

int readAll(DataFiles& files, Tables& t) {
    return files.KirokuFileRead(t.items) + files.ChomiFileRead(t.seasonings) + files.MokuFileRead(t.target) +
           files.EnbunFileRead(t.log) + files.AtuFileRead(t.shift);
}

// The least any reader of the log does: the file read, and each line's four
// quoted fields found, without keeping anything.
bool TightScan(const std::string& file, std::vector<char>& buffer) {
    if (!RawRead(file, buffer)) return false;
    const char* p = buffer.data();
    const char* const end = p + buffer.size() - 1;
    size_t fields = 0;
    while (p < end) {
        const char* quote = static_cast<const char*>(std::memchr(p, '"', size_t(end - p)));
        if (!quote) break;
        const char* closing = static_cast<const char*>(std::memchr(quote + 1, '"', size_t(end - quote - 1)));
        if (!closing) break;
        fields += size_t(closing - quote);
        p = closing + 1;
    }
    benchmark::DoNotOptimize(fields);
    return true;
}

}  // namespace

void RegisterStorageBenchmarks(DataSets& data) {
    constexpr int Full = 100000;
    registerFile<ItemList>(
        data, QStringLiteral("Kiroku"), Full,
        [](DataFiles& f, ItemList& t) {
            t = NewItemTable();
            return f.KirokuFileRead(t);
        },
        [](DataFiles& f, ItemList& t) { return f.KirokuFileWrite(t); });
    registerFile<SeasoningList>(
        data, QStringLiteral("Chomi"), Full,
        [](DataFiles& f, SeasoningList& t) { return f.ChomiFileRead(t); },
        [](DataFiles& f, SeasoningList& t) { return f.ChomiFileWrite(t); });
    registerFile<QString>(
        data, QStringLiteral("Moku"), Full, [](DataFiles& f, QString& t) { return f.MokuFileRead(t); },
        [](DataFiles& f, QString& t) { return f.MokuFileWrite(t); });
    registerFile<qint32>(
        data, QStringLiteral("Atu"), Full, [](DataFiles& f, qint32& t) { return f.AtuFileRead(t); },
        [](DataFiles& f, qint32& t) { return f.AtuFileWrite(t); });
    for (int days : LogSizes)
        registerFile<LogList>(
            data, QStringLiteral("Enbun"), days, [](DataFiles& f, LogList& t) { return f.EnbunFileRead(t); },
            [](DataFiles& f, LogList& t) { return f.EnbunFileWrite(t); });
    // The log's read once more, against a tight scan of its bytes ("floor").
    for (int days : LogSizes) {
        const std::string name = QStringLiteral("scan/Enbun/%1").arg(days).toStdString();
        settings(benchmark::RegisterBenchmark(name.c_str(), [&data, days](benchmark::State& state) {
            const QString folder = data.folder(days);
            const std::string file = path(folder, QStringLiteral("Enbun.txt"));
            std::vector<char> buffer(static_cast<size_t>(contents(folder, QStringLiteral("Enbun")).size()) +
                                     1);
            DataFiles files = filesIn(folder);
            // The read alone: the window keeps the log it reads, so freeing
            // it (a tenth again at a million days) is left out of the time.
            LogList log;
            paired(
                state,
                [&] {
                    const bool ok = files.EnbunFileRead(log) == 0;
                    benchmark::DoNotOptimize(log);
                    return ok;
                },
                [&] { return TightScan(file, buffer); }, [&] { LogList().swap(log); });
        }));
    }

    // The close: the five writes in the order the window makes them.
    for (int days : {Full, 1000000}) {
        const std::string name = QStringLiteral("save/all/%1").arg(days).toStdString();
        settings(benchmark::RegisterBenchmark(name.c_str(), [&data, days](benchmark::State& state) {
            const QString folder = data.folder(days);
            DataFiles files = filesIn(folder);
            Tables t;
            readAll(files, t);
            std::vector<QByteArray> all;
            for (const char* stem : {"Kiroku", "Chomi", "Moku", "Enbun", "Atu"})
                all.push_back(contents(folder, QString::fromLatin1(stem)));
            paired(
                state,
                [&] {
                    return files.KirokuFileWrite(t.items) + files.ChomiFileWrite(t.seasonings) +
                               files.MokuFileWrite(t.target) + files.EnbunFileWrite(t.log) +
                               files.AtuFileWrite(t.shift) ==
                           0;
                },
                [&] {
                    bool ok = true;
                    for (const QByteArray& bytes : all) ok = rawWrite(folder, bytes) && ok;
                    return ok;
                });
        }));
    }
}

}  // namespace morv::bench
