// A session at a million days as a user pays it, on a copy of the data set's
// folder read through the program's own start-up: the registrations in the
// order a session makes them (the first ones after the read included), the
// close with nothing changed, and the window's thread while a sync program
// replaces the log by a rename (read again, and merged with a day registered
// here).

#include "Benchmarks.h"
#include "DataSets.h"
#include "Fakes.h"

#include "storage/FileOps.h"
#include "window/Form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

namespace morv::bench {
namespace {

constexpr int SessionDays = 1000000;
using Clock = std::chrono::steady_clock;
double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Counts the files opened: a close with nothing changed opens none.
class CountingOps final : public PosixFileOps {
public:
    int opens = 0;
    int open(const QByteArray& p, int f, mode_t m) override { return ++opens, PosixFileOps::open(p, f, m); }
};

// The data set's folder copied, so that nothing a session writes reaches it.
QString sessionFolder(DataSets& data, const QString& root) {
    const QString from = data.folder(SessionDays), to = root + QStringLiteral("/session/Tavelnor/");
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) QFile::copy(from + name, to + name);
    return to;
}

struct Session {
    explicit Session(const QString& folder, FileOps& ops = SystemFileOps()) {
        window = std::make_unique<Form1>(dialogs, clock, folder, ops);
        window->Load();
        window->show();
        QApplication::processEvents();
    }
    test::ScriptedDialogs dialogs;
    test::FixedClock clock{QDateTime(QDate(2024, 1, 5), QTime(9, 30))};
    std::unique_ptr<Form1> window;
};

QString date(int n) { return QDate(9600, 1, 1).addDays(n).toString(QStringLiteral("yyyy/MM/dd")); }

// The window's events run until `done`; the longest single round of them,
// what a user would feel as the window not answering.
double busyUntil(const std::function<bool()>& done) {
    double longest = 0;
    const Clock::time_point start = Clock::now();
    while (!done() && since(start) < 30) {
        const Clock::time_point round = Clock::now();
        QApplication::processEvents();
        longest = std::max(longest, since(round));
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return done() ? longest : -1;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How a sync program installs another machine's file.
void replace(const QString& folder, const QByteArray& bytes) {
    const QString temp = folder + QStringLiteral(".syncthing.Enbun.txt.tmp");
    QFile file(temp);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    file.close();
    std::rename(QFile::encodeName(temp).constData(),
                QFile::encodeName(folder + QStringLiteral("Enbun.txt")).constData());
}

void settings(benchmark::internal::Benchmark* bench) {
    bench->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

}  // namespace

void RegisterSessionBenchmarks(DataSets& data, const QString& workRoot) {
    // The first ten new days after the read, each through the window;
    // "longest" the slowest of them.
    settings(
        benchmark::RegisterBenchmark("session/register/1000000", [&data, workRoot](benchmark::State& state) {
            for (auto _ : state) {
                Session s(sessionFolder(data, workRoot));
                Form1& w = *s.window;
                double longest = 0;
                for (int i = 0; i < 10; ++i) {
                    s.dialogs.answers = {true};
                    w.Text1_0()->setText(date(i));
                    const Clock::time_point start = Clock::now();
                    w.Command2()->click();
                    QApplication::processEvents();
                    longest = std::max(longest, since(start));
                }
                if (w.LogCount() != SessionDays + 10)
                    state.SkipWithError("a registration did not add its day");
                state.SetIterationTime(longest);
                state.counters["longest"] = longest;
            }
        }));

    // The window closed after a session that changed nothing; "files" counts
    // the files opened by it (none: nothing is encoded or compared).
    settings(benchmark::RegisterBenchmark("session/close/1000000", [&data,
                                                                    workRoot](benchmark::State& state) {
        for (auto _ : state) {
            const QString folder = sessionFolder(data, workRoot);
            Session(folder).window->close();  // whatever the data set holds in another form is written once
            CountingOps ops;
            Session s(folder, ops);
            ops.opens = 0;
            const Clock::time_point start = Clock::now();
            s.window->close();
            state.SetIterationTime(since(start));
            state.counters["files"] = ops.opens;
        }
    }));

    // A sync program replaces the log with one that has a day more: the
    // window's longest busy stretch until the day shows; with a day
    // registered here first, the same with the merge.
    for (const bool merge : {false, true}) {
        const char* name = merge ? "session/merge/1000000" : "session/reread/1000000";
        settings(benchmark::RegisterBenchmark(name, [&data, workRoot, merge](benchmark::State& state) {
            const QString folder = sessionFolder(data, workRoot);
            Session s(folder);
            Form1& w = *s.window;
            int n = 100;
            double longest = 0;
            for (auto _ : state) {
                const QByteArray theirs = readAll(folder + QStringLiteral("Enbun.txt")) + "\"" +
                                          date(++n).toLatin1() + "\",\"5\",\"\",\"\"\r\n";
                if (merge) {
                    const QString ours = date(++n);
                    w.diary().RegisterDay(w.diary().FindPlace(ours), ours, QStringLiteral("6"));
                }
                const int expected = w.LogCount() + 1;
                replace(folder, theirs);
                const double busy = busyUntil([&] { return w.LogCount() == expected; });
                if (busy < 0) state.SkipWithError("the replaced log never showed");
                state.SetIterationTime(std::max(busy, 1e-9));
                longest = std::max(longest, busy);
                w.AutosaveNow();
            }
            state.counters["longest"] = longest;
        }));
    }
}

}  // namespace morv::bench
