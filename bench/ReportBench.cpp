// The report from the command line: a year of a 100,000-day log written as a
// PDF by the real program, a process of its own, as a user would run it.

#include "Benchmarks.h"
#include "DataSets.h"

#include <benchmark/benchmark.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace morv::bench {

void RegisterReportBenchmark(DataSets& data, const QString& program) {
    benchmark::RegisterBenchmark(
        "report/year/100000",
        [&data, program](benchmark::State& state) {
            QTemporaryDir out;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_DATA_HOME"), data.home(100000));
            for (auto _ : state) {
                QProcess process;
                process.setProcessEnvironment(env);
                process.start(program, {QStringLiteral("--report"), out.filePath(QStringLiteral("year.pdf")),
                                        QStringLiteral("--from"), QStringLiteral("2025/01/01"),
                                        QStringLiteral("--to"), QStringLiteral("2025/12/31")});
                if (!process.waitForFinished(-1) || process.exitCode() != 0)
                    state.SkipWithError("the report failed");
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

}  // namespace morv::bench
