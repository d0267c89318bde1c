#include "platform/KeyRules.h"

#include "platform/Announce.h"
#include "platform/FocusReason.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

namespace morv {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Whether c belongs to the characters of the rule; whether a point may still
// be added is the caller's matter.
bool inClass(KeyRule::Chars chars, QChar c) {
    switch (chars) {
        case KeyRule::Chars::Any:
            return true;
        case KeyRule::Chars::Digits:
            return isDigit(c);
        case KeyRule::Chars::DigitsAndSlash:
            return isDigit(c) || c == u'/';
        case KeyRule::Chars::Decimal:
            return isDigit(c) || c == u'.';
    }
    return false;
}

}  // namespace

QString RefusedCharacterText(QChar c, KeyRule::Chars chars) {
    const char* allowed = chars == KeyRule::Chars::Decimal          ? "数字と小数点"
                          : chars == KeyRule::Chars::DigitsAndSlash ? "数字と /"
                                                                    : "数字";
    return QStringLiteral("「%1」は入りません、%2だけです").arg(c).arg(QString::fromUtf8(allowed));
}

namespace {

class KeyRuleFilter final : public QObject {
public:
    KeyRuleFilter(QLineEdit* box, KeyRule rule) : QObject(box), box_(box), rule_(std::move(rule)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress) return false;
        return handle(static_cast<QKeyEvent*>(event));
    }

private:
    // true: the key is swallowed.
    bool handle(QKeyEvent* key) {
        if (rule_.onKeyDown) rule_.onKeyDown();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (rule_.onEnter) rule_.onEnter();
            return true;
        }
        // Shortcuts (copy, paste, select all) and keys that type nothing
        // (arrows, Delete, Tab, Escape) are not characters and pass untouched.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        switch (key->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
                return false;
        }
        const QString text = key->text();
        if (text.isEmpty()) return false;
        // A screen reader has echoed the key; what the box did with it is
        // told, since nothing on the box changes.
        for (QChar c : text) {
            if (inClass(rule_.chars, c) || !c.isPrint()) continue;
            Announce(RefusedCharacterText(c, rule_.chars));
            return true;
        }
        for (QChar c : text) {
            if (!accepts(c)) return true;
        }
        if (rule_.maxTyped > 0 &&
            box_->text().size() - box_->selectedText().size() + text.size() > rule_.maxTyped) {
            Announce(QStringLiteral("%1文字までです").arg(rule_.maxTyped));
            return true;
        }
        return false;
    }

    bool accepts(QChar c) {
        if (!inClass(rule_.chars, c)) return false;
        if (rule_.chars != KeyRule::Chars::Decimal || c != u'.') return true;
        // The whole text counts, even when a selection would replace its point.
        if (!box_->text().contains(u'.')) return true;
        if (rule_.onSecondPoint) rule_.onSecondPoint();
        return false;
    }

    QLineEdit* box_;
    KeyRule rule_;
};

// Text that reaches the box by another way than a typed key (pasted, dropped,
// from an input method) is refused whole unless typing could have put it
// there: only the rule's characters, at most one point in a decimal box, and
// no longer than the cap. Deleting always works, and so does any text the
// program sets, which may be longer than the cap or hold other characters.
class InsertedTextGuard final : public QValidator {
public:
    InsertedTextGuard(QLineEdit* box, KeyRule::Chars chars, int maxTyped)
        : QValidator(box), box_(box), chars_(chars), maxTyped_(maxTyped), before_(box->text()) {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
    }

    State validate(QString& input, int&) const override {
        // Setting a text clears the modified flag; only the user's edits set it.
        if (!box_->isModified()) return Acceptable;
        const QString added = addedPart(input);
        if (added.isEmpty()) return Acceptable;
        for (QChar c : added) {
            if (!inClass(chars_, c)) return Invalid;
        }
        if (chars_ == KeyRule::Chars::Decimal && added.contains(u'.') && input.count(u'.') > 1)
            return Invalid;
        if (maxTyped_ > 0 && input.size() > maxTyped_) return Invalid;
        return Acceptable;
    }

private:
    // What the edit put in: input less the longest start and end it shares
    // with the text before it.
    QString addedPart(const QString& input) const {
        const qsizetype shorter = std::min(input.size(), before_.size());
        qsizetype head = 0;
        while (head < shorter && input[head] == before_[head]) ++head;
        qsizetype tail = 0;
        while (tail < shorter - head && input[input.size() - 1 - tail] == before_[before_.size() - 1 - tail])
            ++tail;
        return input.sliced(head, input.size() - head - tail);
    }

    QLineEdit* box_;
    KeyRule::Chars chars_;
    int maxTyped_;
    QString before_;
};

class SelectAllFilter final : public QObject {
public:
    explicit SelectAllFilter(QLineEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::FocusIn) return false;
        const auto* focus = static_cast<QFocusEvent*>(event);
        // A box the user is typing in keeps its cursor when the window comes
        // back from a message box or another program.
        if (!MovesBetweenControls(focus)) return false;
        box_->selectAll();
        // A click places the cursor after the focus arrives; select again
        // once the click has been handled.
        if (focus->reason() == Qt::MouseFocusReason)
            QMetaObject::invokeMethod(box_, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    }

private:
    QLineEdit* box_;
};

}  // namespace

void InstallKeyRule(QLineEdit* box, KeyRule rule) {
    if (rule.chars != KeyRule::Chars::Any) {
        // Number boxes take no input-method text, which would bypass the filter.
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    if (rule.holdInserted && (rule.chars != KeyRule::Chars::Any || rule.maxTyped > 0))
        box->setValidator(new InsertedTextGuard(box, rule.chars, rule.maxTyped));
    box->installEventFilter(new KeyRuleFilter(box, std::move(rule)));
}

void SelectAllOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllFilter(box)); }

}  // namespace morv
