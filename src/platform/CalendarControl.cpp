#include "platform/CalendarControl.h"

#include "platform/EscapeKey.h"
#include "text/DateText.h"

#include <QAccessibleWidget>
#include <algorithm>

namespace morv {
namespace {

// A hidden calendar has no parts for a screen reader. Qt's day grid calls
// its current day focused even while the calendar is hidden, so a tool
// looking for the focus found two; and its cells would be read as showing.
class CalendarAccessible final : public QAccessibleWidget {
public:
    explicit CalendarAccessible(QWidget* calendar) : QAccessibleWidget(calendar, QAccessible::Table) {}
    int childCount() const override { return shown() ? QAccessibleWidget::childCount() : 0; }
    QAccessibleInterface* child(int index) const override {
        return shown() ? QAccessibleWidget::child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return shown() ? QAccessibleWidget::indexOfChild(child) : -1;
    }

private:
    bool shown() const { return widget()->isVisible(); }
};

QAccessibleInterface* CalendarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(CalendarControl::staticMetaObject.className()) && object->isWidgetType())
        return new CalendarAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

CalendarControl::CalendarControl(QWidget* parent) : QCalendarWidget(parent) {
    static const bool factoryInstalled = (QAccessible::installFactory(CalendarFactory), true);
    Q_UNUSED(factoryInstalled);
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

CalendarControl::CalendarControl(QWidget* parent, const QString& name, const QRect& place)
    : CalendarControl(parent) {
    setObjectName(name);
    setGeometry(place);
    CloseOnEscape(this, [this] { hide(); });
    hide();
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

void CalendarControl::setFromText(const QString& text, QDate today) {
    const QString date = NormalizeDateText(text);
    if (IsValidDate(date)) {
        setYear(date.mid(0, 4).toInt());
        setMonth(date.mid(5, 2).toInt());
        setDay(date.mid(8, 2).toInt());
    } else {
        setYear(today.year());
        setMonth(today.month());
        setDay(today.day());
    }
}

void NameDateButtons(QWidget* dayBefore, QWidget* openCalendar, QWidget* dayAfter) {
    dayBefore->setAccessibleName(QStringLiteral("前の日"));
    openCalendar->setAccessibleName(QStringLiteral("カレンダー"));
    dayAfter->setAccessibleName(QStringLiteral("次の日"));
}

QString CalendarControl::pickedText() const {
    return QStringLiteral("%1/%2/%3")
        .arg(Year())
        .arg(Month(), 2, 10, QLatin1Char('0'))
        .arg(Day(), 2, 10, QLatin1Char('0'));
}

}  // namespace morv
