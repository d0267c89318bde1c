#pragma once
// The month calendar of the date boxes: year, month and day can be set one after
// the other and read after a pick, and one notification is raised per picked day.

#include <QCalendarWidget>

namespace morv {

class CalendarControl : public QCalendarWidget {
    Q_OBJECT
public:
    explicit CalendarControl(QWidget* parent = nullptr);
    // Hidden until opened (Escape closes it again), named and placed in its parent.
    CalendarControl(QWidget* parent, const QString& name, const QRect& place);

    int Year() const { return selectedDate().year(); }
    int Month() const { return selectedDate().month(); }
    int Day() const { return selectedDate().day(); }
    // Each setter keeps the other two parts; a day that does not exist in the
    // month is moved to the month's last day, so setting year, month and day in
    // turn always lands on the intended date.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);
    void setDate(QDate date);

    // Shows the day of a date box's text (any form the box accepts), or today
    // when the text is no date; year, month and day are set in that order.
    void setFromText(const QString& text, QDate today);
    // The picked day as the date boxes hold it: yyyy/mm/dd.
    QString pickedText() const;

signals:
    void dayPicked();

private:
    void pick();
};

// What a screen reader says for the "<", "CL" and ">" buttons beside a date box.
void NameDateButtons(QWidget* dayBefore, QWidget* openCalendar, QWidget* dayAfter);

}  // namespace morv
