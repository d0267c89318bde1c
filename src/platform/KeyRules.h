#pragma once
// What a text box lets the user type. Boxes of this program refuse characters
// as they are typed rather than validating afterwards: a number box takes only
// digits, Backspace and (where decimals are allowed) one point, Enter runs the
// box's action instead of being inserted, and a box may cap what can be typed.
// Text that arrives otherwise (pasted, dropped, from an input method) is held
// to the same characters and cap unless the rule says otherwise; text set by
// the program is not filtered.

#include <QLineEdit>
#include <functional>

namespace morv {

struct KeyRule {
    enum class Chars {
        Any,             // every character
        Digits,          // 0-9
        DigitsAndSlash,  // 0-9 and "/"
        Decimal,         // 0-9 and one "."
    };
    Chars chars = Chars::Any;
    int maxTyped = 0;                     // 0: no cap
    std::function<void()> onKeyDown;      // any key, before it is filtered
    std::function<void()> onEnter;        // Enter is swallowed and runs this
    std::function<void()> onSecondPoint;  // a second "." was refused
    bool holdInserted = true;             // false: pasted text is let through as it is
};

void InstallKeyRule(QLineEdit* box, KeyRule rule);

// What a screen reader hears when a typed character is refused.
QString RefusedCharacterText(QChar c, KeyRule::Chars chars);

// Selects the whole text whenever the focus moves into the box (Tab, a click,
// the program), but not when it comes back with the whole window.
void SelectAllOnFocus(QLineEdit* box);

}  // namespace morv
