#pragma once
// A rarely opened child widget, built the first time something reaches for it
// instead of with its window, so that start-up pays only for what it shows.
// The widget belongs to its Qt parent; this keeps the pointer and the recipe.

#include <functional>

namespace morv {

template <class Widget>
class OnFirstUse {
public:
    explicit OnFirstUse(std::function<Widget*()> build) : build_(std::move(build)) {}
    OnFirstUse(const OnFirstUse&) = delete;
    OnFirstUse& operator=(const OnFirstUse&) = delete;

    Widget* get() {
        if (!widget_) widget_ = build_();
        return widget_;
    }
    Widget* operator->() { return get(); }
    Widget& operator*() { return *get(); }
    // The widget if something has built it already, else null.
    Widget* built() const { return widget_; }
    // A widget never built is not on show: hiding it needs no building.
    void hide() const {
        if (widget_) widget_->hide();
    }
    bool isVisible() const { return widget_ && widget_->isVisible(); }

private:
    std::function<Widget*()> build_;
    Widget* widget_ = nullptr;
};

}  // namespace morv
