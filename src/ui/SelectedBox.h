#pragma once
// The grid box that receives a weight conversion or a carried seasoning
// total, as the panels that send them see it.

#include <QString>

namespace morv {

struct GridSelection {
    bool sodium = false;
    bool salt = false;
    int row = 0;
};

class SelectedBox {
public:
    virtual GridSelection Selection() const = 0;
    // The selected box's item gets `text` and the box the focus.
    virtual void PutIntoSelectedBox(const QString& text) = 0;
    virtual QString SelectedBoxText() const = 0;
    // The selected box is coloured as the place a pending value will land,
    // or plain again.
    virtual void MarkSelectedBox(bool marked) = 0;

protected:
    ~SelectedBox() = default;
};

}  // namespace morv
