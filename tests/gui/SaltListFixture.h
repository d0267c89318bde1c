#pragma once
// The real window with a log put straight into memory, and ways to read the
// salt-list screen the way the user sees it. Geometry is checked in pixels of
// 15 twips, rounded, as the screen maps it.

#include "MainWindowFixture.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "ui/Colours.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace morv::test {

class SaltListFixture : public MainWindowFixture {
protected:
    // n consecutive days from `from`, each with the given salt and no reading.
    static LogList days(int n, QDate from = QDate(2023, 1, 1), const QString& salt = QStringLiteral("5")) {
        LogList log;
        log.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) log.push_back({from.addDays(i).toString("yyyy/MM/dd"), salt, {}, {}});
        return log;
    }

    static int px(double twips) { return static_cast<int>(std::lround(twips / 15.0)); }

    // Starts the window with this log and opens the list with "塩分一覧".
    SaltListScreen& openWith(LogList log) {
        Form1& w = start();
        w.diary().LoadDailyLog(std::move(log));
        w.Command3()->click();
        return *w.PictureE();
    }

    SaltListScreen& screen() const { return *form->PictureE(); }

    int shownRows() const {
        int rows = 0;
        for (QLabel* date : screen().LabelE1) rows += date->isVisible() ? 1 : 0;
        return rows;
    }

    void typePage(const char* text) {
        QLineEdit* box = screen().TextPAGE;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    static QWidget* focused() { return QApplication::focusWidget(); }
};

}  // namespace morv::test
