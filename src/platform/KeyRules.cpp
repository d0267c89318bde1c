#include "platform/KeyRules.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace morv {
namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

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
        // (arrows, Delete, Tab) are not characters and pass untouched.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
            key->key() == Qt::Key_Backtab)
            return false;
        const QString text = key->text();
        if (text.isEmpty()) return false;
        for (QChar c : text) {
            if (!accepts(c)) return true;
        }
        if (rule_.maxTyped > 0 &&
            box_->text().size() - box_->selectedText().size() + text.size() > rule_.maxTyped)
            return true;
        return false;
    }

    bool accepts(QChar c) {
        switch (rule_.chars) {
            case KeyRule::Chars::Any:
                return true;
            case KeyRule::Chars::Digits:
                return isDigit(c);
            case KeyRule::Chars::DigitsAndSlash:
                return isDigit(c) || c == u'/';
            case KeyRule::Chars::Decimal:
                if (isDigit(c)) return true;
                if (c != u'.') return false;
                // The whole text counts, even when a selection would replace its point.
                if (!box_->text().contains(u'.')) return true;
                if (rule_.onSecondPoint) rule_.onSecondPoint();
                return false;
        }
        return false;
    }

    QLineEdit* box_;
    KeyRule rule_;
};

class SelectAllFilter final : public QObject {
public:
    explicit SelectAllFilter(QLineEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_ && event->type() == QEvent::FocusIn) {
            box_->selectAll();
            // A click places the cursor after the focus arrives; select again
            // once the click has been handled.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QMetaObject::invokeMethod(box_, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
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
    box->installEventFilter(new KeyRuleFilter(box, std::move(rule)));
}

void SelectAllOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllFilter(box)); }

}  // namespace morv
