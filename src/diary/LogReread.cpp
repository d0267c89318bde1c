#include "diary/LogReread.h"

#include <utility>

namespace morv {

LogReread::LogReread(Diary& diary, DataFiles& files, std::function<bool()> mayTake, QObject* parent)
    : QObject(parent), diary_(diary), files_(files), mayTake_(std::move(mayTake)) {}

LogReread::~LogReread() { join(); }

void LogReread::join() {
    if (worker_.joinable()) worker_.join();
}

void LogReread::Start() {
    if (stopped_) return;
    if (running_) {
        again_ = true;
        return;
    }
    join();  // the last run's old log, let go over there
    running_ = true;
    again_ = false;
    known_ = files_.KnownStamp(QStringLiteral("Enbun"));
    take_ = diary_.PrepareLogTake({});
    read_.reset();
    const quint64 run = ++run_;
    worker_ = std::thread([this, run, folder = files_.folder(), &ops = files_.ops()] {
        read_ = DataFiles::ReadUsualLogAway(ops, folder);
        if (read_) {
            take_.theirs = std::move(read_->log);
            Diary::RunLogTake(take_);
        }
        QMetaObject::invokeMethod(
            this, [this, run] { finish(run); }, Qt::QueuedConnection);
    });
}

void LogReread::Stop() {
    stopped_ = true;
    ++run_;
    join();
    running_ = false;
    take_ = {};
    read_.reset();
}

void LogReread::finish(quint64 run) {
    if (run != run_) return;
    join();
    running_ = false;
    std::optional<DataFiles::LogReread> read = std::exchange(read_, std::nullopt);
    Diary::LogTake take = std::exchange(take_, {});
    if (again_) return Start();
    if (!read) return emit readHere();
    // A save or a read here since the start knows a newer file than this one.
    std::optional<bool> conflict;
    if (files_.KnownStamp(QStringLiteral("Enbun")) == known_ && mayTake_())
        conflict = diary_.FinishLogTake(take);
    if (!conflict) return emit stale();
    files_.AcceptLogReread(read->stamp);
    // A million days let go take the window's thread a moment: not here.
    if (take.replaced) worker_ = std::thread([old = std::move(take.replaced)] {});
    emit taken(*conflict, read->bytes);
}

}  // namespace morv
