#pragma once
// The main view's date box and its calendar, as a panel may use them.

#include <QString>
#include <Qt>

namespace morv {

class DateBox {
public:
    virtual QString DateShown() const = 0;
    virtual void SetDateShown(const QString& date) = 0;
    virtual void FocusDateBox(Qt::FocusReason reason = Qt::OtherFocusReason) = 0;
    virtual void HideCalendar() = 0;

protected:
    ~DateBox() = default;
};

}  // namespace morv
