#pragma once
#include <QDate>
#include <QDateTime>

namespace morv {

// "Today" comes from here, so tests can fix the day.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace morv
