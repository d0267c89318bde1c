// What a day's use costs at 100,000 and 1,000,000 days beyond the handlers:
// the autosave with and without a change, the close's writes after a real
// change (a new day and a changed item), and registering a new last or first
// day.

#include "BenchWindows.h"
#include "Benchmarks.h"

#include "grid/ItemGrid.h"
#include "log/SaltListScreen.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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

// Days beyond either end of the generated log (year 1000 to about 3700).
QString dayAfter(int n) { return QDate(9000, 1, 1).addDays(n).toString(QStringLiteral("yyyy/MM/dd")); }
QString dayBefore(int n) { return QDate(900, 1, 1).addDays(-n).toString(QStringLiteral("yyyy/MM/dd")); }

struct Step {
    const char* name;
    int days;
    std::function<void(Form1&, int iteration, benchmark::State&)> run;
};

// The timer's save as the window's thread pays for it: the log goes to a
// thread of its own, whose end is waited for outside the timing.
void backgroundSave(Form1& w, benchmark::State& state) {
    w.AutosaveInBackground();
    state.PauseTiming();
    w.AutosaveNow();
    state.ResumeTiming();
}

}  // namespace

void RegisterDiaryBenchmarks(const QString& workRoot) {
    auto windows = std::make_shared<Windows>(workRoot + QStringLiteral("/diary"));
    static const std::vector<Step> steps = {
        {"autosave/unchanged/100000", 100000, [](Form1& w, int, auto& s) { backgroundSave(w, s); }},
        {"autosave/unchanged/1000000", 1000000, [](Form1& w, int, auto& s) { backgroundSave(w, s); }},
        {"autosave/changed/100000", 100000,
         [](Form1& w, int i, auto& s) {
             change(w.diary(), i % 2);
             backgroundSave(w, s);
         }},
        {"autosave/changed/1000000", 1000000,
         [](Form1& w, int i, auto& s) {
             change(w.diary(), i % 2);
             backgroundSave(w, s);
         }},
        // The whole save at once, as the close makes it.
        {"save/changed/100000", 100000,
         [](Form1& w, int i, auto&) {
             change(w.diary(), i % 2);
             w.AutosaveNow();
         }},
        {"register/last/1000000", 1000000,
         [](Form1& w, int i, auto&) {
             w.diary().RegisterDay(w.diary().FindPlace(dayAfter(i)), dayAfter(i), "5");
         }},
        {"register/first/1000000", 1000000,
         [](Form1& w, int i, auto&) {
             w.diary().RegisterDay(w.diary().FindPlace(dayBefore(i)), dayBefore(i), "5");
         }},
    };
    for (const Step& step : steps) {
        benchmark::RegisterBenchmark(step.name,
                                     [&step, windows](benchmark::State& state) {
                                         Form1& w = windows->at(step.days);
                                         w.AutosaveNow();
                                         static int iteration = 0;
                                         for (auto _ : state) step.run(w, ++iteration, state);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    }

    // A day's use on the window at 1,000,000 days, step by step with the
    // events each posts; "longest" is the longest single step, what a user
    // would feel as a pause (the autosave included).
    benchmark::RegisterBenchmark(
        "dayuse/1000000",
        [windows](benchmark::State& state) {
            Form1& w = windows->at(1000000);
            w.AutosaveNow();
            ItemGrid& grid = *w.Grid();
            using Clock = std::chrono::steady_clock;
            double longest = 0;
            static int day = 0;
            const std::function<void()> steps[] = {
                [&] { grid.Check[0]->click(); },
                [&] { grid.TextEnbun[1]->setText(QStringLiteral("1.5")); },
                [&] { w.CommandP()[1]->click(); },
                [&] { w.CommandP()[0]->click(); },
                [&] {  // a new day after the last, as each day of use registers one
                    w.Text1_0()->setText(
                        QDate(9500, 1, 1).addDays(++day).toString(QStringLiteral("yyyy/MM/dd")));
                    w.Command2()->click();
                },
                [&] { w.AutosaveInBackground(); },
                [&] { w.Command3()->click(); },
                [&] { w.PictureE()->Command14->click(); },
            };
            for (auto _ : state) {
                for (const auto& step : steps) {
                    const Clock::time_point start = Clock::now();
                    step();
                    QApplication::processEvents();
                    longest = std::max(longest, std::chrono::duration<double>(Clock::now() - start).count());
                }
            }
            w.AutosaveNow();
            state.counters["longest"] = longest;
        })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

}  // namespace morv::bench
