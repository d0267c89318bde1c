#pragma once
// Stand-ins for what the program asks of the outside world: every message box
// and file dialog is recorded and answered from a script, and "today" is fixed.

#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace morv::test {

// Text as an input method commits it, one character an event with no key
// code: QTest::keyClicks takes ASCII only.
inline void TypeCommitted(QWidget* box, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

struct DialogCall {
    enum class Kind { Notice, Question, SaveFile, OpenFile };
    Kind kind;
    QString text;
    FileRequest request;
};

class ScriptedDialogs final : public Dialogs {
public:
    std::vector<DialogCall> calls;
    std::deque<bool> answers;         // Yes = true; an empty queue answers No
    std::deque<QString> fileChoices;  // an empty text or an empty queue cancels
    // Runs while the next question is open, as the event loop under a real
    // one runs (another machine's save arriving, say).
    std::function<void()> whileAsked;

    void notice(const QString& text) override { calls.push_back({DialogCall::Kind::Notice, text, {}}); }
    bool askYesNo(const QString& text) override {
        calls.push_back({DialogCall::Kind::Question, text, {}});
        if (whileAsked) std::exchange(whileAsked, nullptr)();
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> chooseSaveFile(const FileRequest& request) override {
        return choose(DialogCall::Kind::SaveFile, request);
    }
    std::optional<QString> chooseOpenFile(const FileRequest& request) override {
        return choose(DialogCall::Kind::OpenFile, request);
    }

    QStringList notices() const { return texts(DialogCall::Kind::Notice); }
    QStringList questions() const { return texts(DialogCall::Kind::Question); }

private:
    std::optional<QString> choose(DialogCall::Kind kind, const FileRequest& request) {
        calls.push_back({kind, {}, request});
        if (fileChoices.empty()) return std::nullopt;
        const QString choice = fileChoices.front();
        fileChoices.pop_front();
        if (choice.isEmpty()) return std::nullopt;
        return choice;
    }
    QStringList texts(DialogCall::Kind kind) const {
        QStringList out;
        for (const auto& call : calls)
            if (call.kind == kind) out << call.text;
        return out;
    }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(QDateTime at) { at_ = std::move(at); }

private:
    QDateTime at_;
};

}  // namespace morv::test
