// Each data file read and written through DataFiles, against the floor: the
// same bytes read with one read(2), or written with write, fsync and rename.

#include "Benchmarks.h"
#include "DataSets.h"

#include "storage/DataFiles.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <string>
#include <vector>

namespace morv::bench {
namespace {

std::string path(const QString& folder, const QString& file) { return (folder + file).toStdString(); }

QByteArray contents(const QString& folder, const QString& stem) {
    QFile file(folder + stem + QStringLiteral(".txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void rawRead(const std::string& file, std::vector<char>& buffer) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    size_t got = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;) got += static_cast<size_t>(n);
    ::close(fd);
    benchmark::DoNotOptimize(got);
}

bool rawWrite(const QString& folder, const QByteArray& bytes) {
    const std::string temporary = path(folder, QStringLiteral("raw.tmp"));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ::rename(temporary.c_str(), path(folder, QStringLiteral("raw.txt")).c_str()) == 0 && ok;
}

DataFiles filesIn(const QString& folder) {
    return DataFiles(folder, [](const QString&) {}, [] { return QDateTime::currentDateTime(); });
}

// Registers the four benchmarks of one file of one data set.
template <class Table, class Read, class Write>
void registerFile(DataSets& data, const QString& stem, int days, Read read, Write write) {
    const std::string suffix = QStringLiteral("/%1/%2").arg(stem).arg(days).toStdString();
    auto* rawReadBench = benchmark::RegisterBenchmark(("raw-read" + suffix).c_str(), [&data, stem, days](
                                                                                          benchmark::State& state) {
        const QString folder = data.folder(days);
        std::vector<char> buffer(static_cast<size_t>(contents(folder, stem).size()) + 1);
        for (auto _ : state) rawRead(path(folder, stem + QStringLiteral(".txt")), buffer);
    });
    auto* readBench = benchmark::RegisterBenchmark(("read" + suffix).c_str(), [&data, days, read](
                                                                                  benchmark::State& state) {
        DataFiles files = filesIn(data.folder(days));
        for (auto _ : state) {
            Table table{};
            if (read(files, table) != 0) state.SkipWithError("the read failed");
            benchmark::DoNotOptimize(table);
        }
    });
    auto* rawWriteBench = benchmark::RegisterBenchmark(("raw-write" + suffix).c_str(), [&data, stem, days](
                                                                                            benchmark::State& state) {
        const QString folder = data.folder(days);
        const QByteArray bytes = contents(folder, stem);
        for (auto _ : state)
            if (!rawWrite(folder, bytes)) state.SkipWithError("the write failed");
    });
    auto* writeBench = benchmark::RegisterBenchmark(("write" + suffix).c_str(), [&data, days, read, write](
                                                                                    benchmark::State& state) {
        DataFiles files = filesIn(data.folder(days));
        Table table{};
        read(files, table);
        for (auto _ : state)
            if (write(files, table) != 0) state.SkipWithError("the write failed");
    });
    for (auto* bench : {rawReadBench, readBench, rawWriteBench, writeBench})
        bench->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
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
        data, QStringLiteral("Chomi"), Full, [](DataFiles& f, SeasoningList& t) { return f.ChomiFileRead(t); },
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

    // The close: the five writes in the order the window makes them.
    for (int days : {Full, 1000000}) {
        const std::string suffix = QStringLiteral("/all/%1").arg(days).toStdString();
        auto* save = benchmark::RegisterBenchmark(("save" + suffix).c_str(), [&data, days](benchmark::State& state) {
            DataFiles files = filesIn(data.folder(days));
            Tables t;
            readAll(files, t);
            for (auto _ : state) {
                const int failures = files.KirokuFileWrite(t.items) + files.ChomiFileWrite(t.seasonings) +
                                     files.MokuFileWrite(t.target) + files.EnbunFileWrite(t.log) +
                                     files.AtuFileWrite(t.shift);
                if (failures) state.SkipWithError("a write failed");
            }
        });
        auto* raw = benchmark::RegisterBenchmark(("raw-write" + suffix).c_str(), [&data, days](
                                                                                      benchmark::State& state) {
            const QString folder = data.folder(days);
            std::vector<QByteArray> all;
            for (const char* stem : {"Kiroku", "Chomi", "Moku", "Enbun", "Atu"})
                all.push_back(contents(folder, QString::fromLatin1(stem)));
            for (auto _ : state)
                for (const QByteArray& bytes : all)
                    if (!rawWrite(folder, bytes)) state.SkipWithError("the write failed");
        });
        for (auto* bench : {save, raw})
            bench->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(3)->ReportAggregatesOnly(true);
    }
}

}  // namespace morv::bench
