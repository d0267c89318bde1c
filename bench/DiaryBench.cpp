// What a day's use costs at 100,000 and 1,000,000 days beyond the handlers:
// the autosave with and without a change, the close's writes after a real
// change (a new day and a changed item), and registering a new last or first
// day.

#include "BenchWindows.h"
#include "Benchmarks.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace morv::bench {
namespace {

// A day's salt changed and an item's salt changed, back and forth.
void change(Diary& diary, bool odd) {
    const QString last = diary.DailyLog().back().LogDate;
    diary.RegisterDay(diary.FindPlace(last), last, odd ? QStringLiteral("6.1") : QStringLiteral("6.2"));
    diary.SetItemSalt(0, odd ? QStringLiteral("1.1") : QStringLiteral("1.2"));
}

QString dayAfter(int n) { return QDate(2100, 1, 1).addDays(n).toString(QStringLiteral("yyyy/MM/dd")); }
QString dayBefore(int n) { return QDate(900, 1, 1).addDays(-n).toString(QStringLiteral("yyyy/MM/dd")); }

struct Step {
    const char* name;
    int days;
    std::function<void(Form1&, int iteration)> run;
};

}  // namespace

void RegisterDiaryBenchmarks(const QString& workRoot) {
    auto windows = std::make_shared<Windows>(workRoot + QStringLiteral("/diary"));
    static const std::vector<Step> steps = {
        {"autosave/unchanged/100000", 100000, [](Form1& w, int) { w.AutosaveNow(); }},
        {"autosave/unchanged/1000000", 1000000, [](Form1& w, int) { w.AutosaveNow(); }},
        {"autosave/changed/100000", 100000,
         [](Form1& w, int i) {
             change(w.diary(), i % 2);
             w.AutosaveNow();
         }},
        {"autosave/changed/1000000", 1000000,
         [](Form1& w, int i) {
             change(w.diary(), i % 2);
             w.AutosaveNow();
         }},
        {"register/last/1000000", 1000000,
         [](Form1& w, int i) { w.diary().RegisterDay(w.diary().FindPlace(dayAfter(i)), dayAfter(i), "5"); }},
        {"register/first/1000000", 1000000,
         [](Form1& w, int i) { w.diary().RegisterDay(w.diary().FindPlace(dayBefore(i)), dayBefore(i), "5"); }},
    };
    for (const Step& step : steps) {
        benchmark::RegisterBenchmark(step.name,
                                     [&step, windows](benchmark::State& state) {
                                         Form1& w = windows->at(step.days);
                                         w.AutosaveNow();
                                         static int iteration = 0;
                                         for (auto _ : state) step.run(w, ++iteration);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    }
}

}  // namespace morv::bench
