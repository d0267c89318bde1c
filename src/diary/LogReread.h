#pragma once
// Enbun.txt read again after another program (a sync program) replaced it,
// and merged with what changed here, on a thread of its own: at a million
// days the read and the merge take the window's thread a tenth of a second.
// The result goes into the diary in one step, and only if neither the diary's
// log nor what this program knows of the file changed meanwhile; otherwise
// it is dropped and the file looked at again, so nothing made here meanwhile
// is lost. A file this cannot read as the program writes it (a backup beside
// it, another shape, unreadable) is left to the window's own read, which
// knows what to do with it.

#include "diary/Diary.h"
#include "storage/DataFiles.h"

#include <QObject>
#include <functional>
#include <optional>
#include <thread>

namespace morv {

class LogReread : public QObject {
    Q_OBJECT
public:
    // mayTake: whether a result may go in now (the file is not being saved).
    LogReread(Diary& diary, DataFiles& files, std::function<bool()> mayTake, QObject* parent);
    ~LogReread() override;

    bool Running() const { return running_; }
    // Reads and merges the file away from here; the caller has seen it
    // changed on disk. A run already going is redone when it ends.
    void Start();
    // Nothing more goes in; a run going is waited for and dropped.
    void Stop();

signals:
    // Taken in; `theirs`: the file's bytes, to keep aside when both sides
    // changed a day differently (`conflict`).
    void taken(bool conflict, const QByteArray& theirs);
    // Not read over there: to be read on this thread.
    void readHere();
    // Dropped because something changed meanwhile: to be looked at again.
    void stale();

private:
    void finish(quint64 run);
    void join();

    Diary& diary_;
    DataFiles& files_;
    std::function<bool()> mayTake_;
    // A plain thread, as for the log's save: its join hands the result over.
    std::thread worker_;
    bool running_ = false;
    bool again_ = false;
    bool stopped_ = false;
    quint64 run_ = 0;
    std::optional<FileStamp> known_;
    Diary::LogTake take_;
    std::optional<DataFiles::LogReread> read_;
};

}  // namespace morv
