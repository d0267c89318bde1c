#pragma once
// What an assistive technology finds and does through the accessibility tree
// where Qt 6.4's own answers fall short.

class QAbstractButton;

namespace morv {

// A checkable button that shows which page is on: every accessible action
// (press, toggle) clicks it as the mouse does. Qt's toggle action would only
// flip its checked state, marking a page shown that is not.
void ActionsClickButton(QAbstractButton* button);

// A menu opened without a parent widget (a row's menu from Shift+F10) is a
// child of the application on the tree, as the windows are: Qt leaves popups
// out of the application's children, so a screen reader walking the tree
// never met it. Call before the first window is shown; again is harmless.
void ListMenusOnTree();

}  // namespace morv
