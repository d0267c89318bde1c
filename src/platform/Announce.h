#pragma once
// Tells a screen-reader user about a change they cannot see from where the
// focus is: a tick, a new total, a status-line hint, a page turn. Qt 6.4 has
// no announcement event, and a screen reader speaks a change of name or
// description only on the focused object; so the text becomes, for a moment,
// the accessible description of the focused control, and the control's own
// description comes back when it loses the focus. Orca 43 does not speak that
// change under Qt 6.4, so a hidden notification with the text also appears in
// the window a moment later, which it does speak.

#include <QString>

namespace morv {

// Spoken from the control that has the focus; nothing happens without one.
// While a message box is open the words wait until it has closed: a box
// takes what it was told with it, and a reason given beside a message
// (why an import was refused) belongs to the window the focus goes back to.
void Announce(const QString& text);

// Every text box, when it takes the focus, carries its whole value at the
// start of its description until it loses the focus again. Orca 43 under
// Qt 6.4 drops the last character of the value it reads on focus ("1.5" for
// 1.52) but speaks the description whole. Installed once for the application.
void SpeakValuesOnFocus();

// What a tick says when it changes: "みそ汁 チェック" and its new state.
inline QString TickedText(const QString& tickName, bool ticked) {
    return tickName + (ticked ? QStringLiteral(" オン") : QStringLiteral(" オフ"));
}

}  // namespace morv
