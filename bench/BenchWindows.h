#pragma once
// The real window on a full item table and a generated log, one per log
// length, made on first use and kept for every benchmark of a run.

#include "DataSets.h"
#include "Fakes.h"

#include "grid/ItemGrid.h"
#include "window/Form1.h"

#include <QApplication>
#include <QDir>
#include <map>
#include <memory>

namespace morv::bench {

class Windows {
public:
    explicit Windows(QString root) : root_(std::move(root)) {}
    Form1& at(int days) {
        auto& window = windows_[days];
        if (!window) {
            const QString folder = root_ + QStringLiteral("/window-%1/").arg(days);
            QDir().mkpath(folder);
            window = std::make_unique<Form1>(dialogs, clock, folder);
            window->Load();
            window->diary().LoadItemTable(FullItemTable());
            // With the room for new days that a read of the file leaves.
            LogList log = Days(days);
            log.reserve(log.size() + LogGrowthStep);
            window->diary().LoadDailyLog(std::move(log));
            window->Grid()->ShowItemPage(0);
            window->show();
            QApplication::processEvents();
        }
        dialogs.calls.clear();
        return *window;
    }
    test::ScriptedDialogs dialogs;

private:
    QString root_;
    test::FixedClock clock{QDateTime(QDate(2024, 1, 5), QTime(9, 30))};
    std::map<int, std::unique_ptr<Form1>> windows_;
};

}  // namespace morv::bench
