// The food table: one keystroke's search over the whole table, and the memory
// the loaded table holds (heap in use before and after it is parsed).

#include "Benchmarks.h"

#include "foods/core/FoodSearch.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <QFile>

namespace morv::bench {

void RegisterFoodBenchmarks() {
    // What a user types, a key at a time: kana, katakana, kanji, half width, two words.
    static const QString keystrokes[] = {
        QStringLiteral("う"),        QStringLiteral("うめ"),    QStringLiteral("うめぼ"),
        QStringLiteral("うめぼし"),  QStringLiteral("ショ"),    QStringLiteral("ショウユ"),
        QStringLiteral("食パン"),    QStringLiteral("ｷﾞｭｳﾆｭｳ"), QStringLiteral("ぶた "),
        QStringLiteral("ぶた かた"),
    };
    benchmark::RegisterBenchmark("foods/search",
                                 [](benchmark::State& state) {
                                     const FoodTable* table = FoodTable::Builtin();
                                     if (!table) return state.SkipWithError("no food table");
                                     size_t i = 0, found = 0;
                                     for (auto _ : state) {
                                         const std::vector<int> hits =
                                             SearchFoods(*table, keystrokes[i++ % std::size(keystrokes)]);
                                         found += hits.size();
                                         benchmark::DoNotOptimize(hits.data());
                                     }
                                     benchmark::DoNotOptimize(found);
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->MinTime(0.2)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);

    benchmark::RegisterBenchmark("foods/memory",
                                 [](benchmark::State& state) {
                                     QFile file(FoodResourcePath);
                                     const QByteArray bytes =
                                         file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
                                     double held = 0;
                                     for (auto _ : state) {
                                         const size_t before = mallinfo2().uordblks;
                                         const std::optional<FoodTable> table = FoodTable::Parse(bytes);
                                         held = static_cast<double>(mallinfo2().uordblks - before);
                                         if (!table) state.SkipWithError("the food table does not parse");
                                     }
                                     state.counters["bytes"] = held;
                                 })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
}

}  // namespace morv::bench
