// `make bench`: morvaline-bench <morvaline> <bare-window> <startup-probe> [benchmark flags].
// Generates the data sets in a temporary folder, launches the program and a
// bare window alternately under the X server of $DISPLAY, runs the in-process
// benchmarks and prints the table. MORVALINE_BENCH_RUNS sets the number of
// launches of each kind (15).

#include "Benchmarks.h"
#include "DataSets.h"
#include "Report.h"

#include "BenchWindows.h"
#include "StartupProbe.h"
#include "ui/Colours.h"

#include <QCheckBox>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iostream>

namespace morv::bench {
namespace {

// Keeps the median of each benchmark's repetitions and shows the details on stderr.
class Capture : public benchmark::ConsoleReporter {
public:
    explicit Capture(std::map<std::string, double>& seconds) : seconds_(seconds) {
        SetOutputStream(&std::cerr);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred && run.aggregate_name == "median" && run.iterations > 0) {
                const std::string& name = run.run_name.function_name;
                seconds_[name] = run.real_accumulated_time / static_cast<double>(run.iterations);
                for (const char* counter : {"floor", "files", "longest", "bytes"})
                    if (const auto found = run.counters.find(counter); found != run.counters.end())
                        seconds_[std::string(counter) + ":" + name] = found->second.value;
            }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::map<std::string, double>& seconds_;
};

Launch median(std::vector<Launch> runs) {
    auto middle = [&](auto member) {
        std::sort(runs.begin(), runs.end(),
                  [&](const Launch& a, const Launch& b) { return a.*member < b.*member; });
        return runs[runs.size() / 2].*member;
    };
    return {middle(&Launch::showSeconds), middle(&Launch::closeSeconds), middle(&Launch::peakMegabytes),
            middle(&Launch::answerSeconds)};
}

// Where the probe clicks to make its change, taken from the real window so
// that a change of layout moves the clicks with it: "x,y" of the first tick
// and of the register command, in the window's own pixels.
QStringList clickPoints(const QString& workRoot) {
    Windows windows(workRoot + QStringLiteral("/clicks"));
    Form1& w = windows.at(0);
    auto centre = [](QWidget* control) {
        const QPoint p = control->mapTo(control->window(), control->rect().center());
        return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    };
    return {centre(w.Grid()->Check[0]), centre(w.Command2())};
}

// Runs the start-up probe, a process of its own, and keeps the medians.
bool launchAll(const QString& probe, const QString& program, const QString& bare, DataSets& data,
               const QString& workRoot, Results& results) {
    results.runs = qEnvironmentVariableIntValue("MORVALINE_BENCH_RUNS");
    if (results.runs <= 0) results.runs = 21;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(probe, QStringList{QString::number(results.runs), bare, program, data.home(0),
                                     data.home(100000), data.home(1000000)} +
                             clickPoints(workRoot));
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return false;
    std::map<std::string, std::vector<Launch>> launches;
    double bareShow = 0;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 5)
            launches[f[0].toStdString()].push_back(
                {f[1].toDouble(), f[2].toDouble(), f[3].toDouble(), f[4].toDouble()});
        // Each round launches the bare window and then the empty start.
        if (f.size() == 5 && f[0] == "bare") bareShow = f[1].toDouble();
        if (f.size() == 5 && f[0] == "0" && bareShow > 0)
            results.startRatios.push_back(f[1].toDouble() / bareShow);
    }
    for (const auto& [key, runs] : launches) results.launches[key] = median(runs);
    return true;
}

}  // namespace
}  // namespace morv::bench

int main(int argc, char** argv) {
    using namespace morv::bench;
    // The in-process benchmarks need no screen; the launched programs get the real one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(morv::NewProgramStyle());
    benchmark::Initialize(&argc, argv);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: morvaline-bench <morvaline> <bare-window> <startup-probe> [--benchmark_...]\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]), bare = QString::fromLocal8Bit(argv[2]),
                  probe = QString::fromLocal8Bit(argv[3]);

    QTemporaryDir root;
    const QString runtime = root.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());

    DataSets data(root.path());
    std::fprintf(stderr, "generating the data sets\n");
    for (int days : {0, 1000, 10000, 100000, 1000000}) data.home(days);

    Results results;
    if (qEnvironmentVariableIsSet("MORVALINE_BENCH_NO_LAUNCH")) {
        std::fprintf(stderr, "MORVALINE_BENCH_NO_LAUNCH: start-up and close not measured\n");
    } else if (!launchAll(probe, program, bare, data, root.path(), results)) {
        return 1;
    }

    RegisterStorageBenchmarks(data);
    RegisterSyncBenchmarks(data);
    RegisterHandlerBenchmarks(root.path());
    RegisterDiaryBenchmarks(root.path());
    RegisterReportBenchmark(data, program);
    RegisterFoodBenchmarks();
    RegisterSessionBenchmarks(data, root.path());
    Capture capture(results.seconds);
    benchmark::RunSpecifiedBenchmarks(&capture);
    benchmark::ClearRegisteredBenchmarks();

    PrintTable(results);
    return 0;
}
