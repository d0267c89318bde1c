#pragma once
// The main view's status line, as a panel may use it.

#include <QString>

namespace morv {

class StatusLine {
public:
    // While an item import is previewed the status line keeps its reminder;
    // otherwise the date box loses any error colour and the status line
    // empties (but for a file held back, whose line stands).
    virtual void ResetStatusLine() = 0;
    // Red text in the status line.
    virtual void ShowStatus(const QString& text) = 0;
    // The hint while a counted salt is being edited.
    virtual bool EnterPrompt() const = 0;
    virtual void SetEnterPrompt(bool on) = 0;

protected:
    ~StatusLine() = default;
};

}  // namespace morv
