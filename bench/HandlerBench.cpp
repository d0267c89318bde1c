// Every handler of the item grid and the salt list, timed on a window holding
// a full item table and a log of 10,000 or 100,000 days, together with the
// events it posts (layout, repaint): what the user waits for. Left unprocessed,
// those events would pile up and slow every later post.

#include "BenchWindows.h"
#include "Benchmarks.h"
#include "DataSets.h"
#include "Fakes.h"
#include "diary/DiaryBooks.h"

#include "grid/ItemGrid.h"
#include "log/SaltListScreen.h"
#include "window/Form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

namespace morv::bench {
namespace {

struct Handler {
    const char* name;
    bool onList;  // runs with the salt list open
    // odd flips each time, so that a step never drifts far from where it began.
    std::function<void(Form1&, test::ScriptedDialogs&, benchmark::State&, bool odd)> step;
};

void typeInto(QLineEdit* box, const QString& text, char lastKey) {
    box->setText(text);
    QTest::keyClick(box, lastKey);
}

const std::vector<Handler>& Handlers() {
    static const std::vector<Handler> handlers = {
        {"CommandP (page button)", false,
         [](Form1& w, auto&, auto&, bool odd) { w.CommandP()[odd ? 3 : 4]->click(); }},
        // What the autosave after a page turn costs: with nothing changed, no
        // file is encoded or written ("files" counts those that would be).
        {"CommandP + autosave (idle page turn)", false,
         [](Form1& w, auto&, benchmark::State& state, bool odd) {
             w.CommandP()[odd ? 3 : 4]->click();
             int changed = 0;
             for (const DataKind& kind : DataKinds) changed += DiaryBooks(w.diary()).HasChanges(kind.file);
             w.AutosaveNow();
             state.counters["files"] = changed;
         }},
        {"Check (tick)", false, [](Form1& w, auto&, auto&, bool) { w.Grid()->Check[0]->click(); }},
        {"TextName (name typed)", false,
         [](Form1& w, auto&, auto&, bool odd) {
             w.Grid()->TextName[0]->setText(odd ? "焼き鮭" : "焼き鮭２");
         }},
        {"TextNa (sodium typed)", false,
         [](Form1& w, auto&, auto&, bool odd) { w.Grid()->TextNa[0]->setText(odd ? "500" : "600"); }},
        {"TextEnbun (salt typed)", false,
         [](Form1& w, auto&, auto&, bool odd) { w.Grid()->TextEnbun[0]->setText(odd ? "1.2" : "1.3"); }},
        {"CommandNa (salt from sodium)", false,
         [](Form1& w, auto&, auto&, bool) { w.Grid()->CommandNa[0]->click(); }},
        {"Command2b/Command2w (x2, 1/2)", false,
         [](Form1& w, auto&, auto&, bool odd) {
             (odd ? w.Grid()->Command2b : w.Grid()->Command2w)[0]->click();
         }},
        {"Command9/Command10 (day before, after)", false,
         [](Form1& w, auto&, auto&, bool odd) { (odd ? w.Command9() : w.Command10())->click(); }},
        {"Command2 (register the day)", false,
         [](Form1& w, test::ScriptedDialogs& d, auto&, bool) {
             d.answers = {true};
             w.Command2()->click();
         }},
        {"Command3 (open the list)", false, [](Form1& w, auto&, auto&, bool) { w.Command3()->click(); }},
        {"Command14 (close the list)", true,
         [](Form1& w, auto&, benchmark::State& state, bool) {
             w.PictureE()->Command14->click();
             state.PauseTiming();
             w.Command3()->click();
             state.ResumeTiming();
         }},
        {"Command17/Command18 (page back, on)", true,
         [](Form1& w, auto&, auto&, bool odd) {
             (odd ? w.PictureE()->Command17 : w.PictureE()->Command18)->click();
         }},
        {"TextPAGE Enter (typed page)", true,
         [](Form1& w, auto&, auto&, bool odd) { typeInto(w.PictureE()->TextPAGE, odd ? "25" : "2", '0'); }},
        {"Command15 (show typed page)", true,
         [](Form1& w, auto&, auto&, bool) { w.PictureE()->Command15->click(); }},
        {"Command40 (readings on, off)", true,
         [](Form1& w, auto&, auto&, bool) { w.PictureE()->Command40->click(); }},
        {"Command37/Command36 (reading's day)", true,
         [](Form1& w, auto&, auto&, bool odd) {
             (odd ? w.PictureE()->Command37 : w.PictureE()->Command36)->click();
         }},
        {"Text2 (reading's date typed)", true,
         [](Form1& w, auto&, auto&, bool odd) {
             typeInto(w.PictureE()->Text2, "2024/01/0", odd ? '5' : '6');
         }},
        {"Command39 (register a reading)", true,
         [](Form1& w, test::ScriptedDialogs& d, auto&, bool odd) {
             SaltListScreen& s = *w.PictureE();
             s.Text2->setText("2024/01/05");
             s.Text5->setText(odd ? "135" : "136");
             s.Text6->setText("85");
             d.answers = {true, true};
             s.Command39->click();
         }},
        {"Command38 (delete a reading)", true,
         [](Form1& w, test::ScriptedDialogs& d, benchmark::State& state, bool) {
             SaltListScreen& s = *w.PictureE();
             state.PauseTiming();
             s.Text2->setText("2024/01/05");
             s.Text5->setText("135");
             s.Text6->setText("85");
             d.answers = {true, true};
             s.Command39->click();
             d.answers = {true, true};
             state.ResumeTiming();
             s.Command38->click();
         }},
        {"Command41/Command42 (bar shift)", true,
         [](Form1& w, auto&, auto&, bool odd) {
             (odd ? w.PictureE()->Command41 : w.PictureE()->Command42)->click();
         }},
        {"Command35 (reading's calendar)", true,
         [](Form1& w, auto&, auto&, bool) { w.PictureE()->Command35->click(); }},
    };
    return handlers;
}

}  // namespace

void RegisterHandlerBenchmarks(const QString& workRoot) {
    // Shared by every benchmark; ended by ClearRegisteredBenchmarks() while the
    // application still exists.
    auto windows = std::make_shared<Windows>(workRoot);
    for (const Handler& handler : Handlers())
        for (int days : HandlerSizes) {
            const std::string name = std::string("handler/") + handler.name + "/" + std::to_string(days);
            benchmark::RegisterBenchmark(name.c_str(),
                                         [&handler, days, windows](benchmark::State& state) {
                                             Form1& w = windows->at(days);
                                             // Each handler starts with nothing left to save.
                                             w.AutosaveNow();
                                             if (handler.onList) w.Command3()->click();
                                             bool odd = false;
                                             for (auto _ : state) {
                                                 handler.step(w, windows->dialogs, state, odd = !odd);
                                                 QApplication::processEvents();
                                                 windows->dialogs.calls.clear();
                                             }
                                             w.PictureE()->Command14->click();
                                         })
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.1)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
        }
}

}  // namespace morv::bench
