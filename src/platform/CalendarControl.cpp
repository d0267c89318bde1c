#include "platform/CalendarControl.h"

#include <algorithm>

namespace morv {

CalendarControl::CalendarControl(QWidget* parent) : QCalendarWidget(parent) {
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    setAutoFillBackground(true);
    // A click picks a day; Enter or a double click on the keyboard-selected day
    // does too. The handler hides the calendar, so the second signal of a double
    // click finds it hidden and is ignored.
    connect(this, &QCalendarWidget::clicked, this, &CalendarControl::pick);
    connect(this, &QCalendarWidget::activated, this, &CalendarControl::pick);
}

void CalendarControl::pick() {
    if (isVisible()) emit dayPicked();
}

static QDate clampedDate(int year, int month, int day) {
    year = std::clamp(year, 1, 9999);
    month = std::clamp(month, 1, 12);
    const int last = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::clamp(day, 1, last));
}

void CalendarControl::setYear(int year) { setDate(clampedDate(year, Month(), Day())); }
void CalendarControl::setMonth(int month) { setDate(clampedDate(Year(), month, Day())); }
void CalendarControl::setDay(int day) { setDate(clampedDate(Year(), Month(), day)); }

void CalendarControl::setDate(QDate date) {
    if (!date.isValid()) return;
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

}  // namespace morv
