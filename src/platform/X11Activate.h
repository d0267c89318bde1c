#pragma once
// What Qt's own activation leaves out on X: a window on another workspace is
// only marked there, so the running copy moves it to the workspace the user
// is on, and a launch's startup id (its time stamp is the user's click)
// lets a window manager that prevents focus stealing hand the focus over.

#include <QString>

class QWidget;

namespace morv {

// The X server time in a startup id ("…_TIME12345"); 0 without one.
unsigned StartupIdTime(const QString& startupId);

// On X: moves `window` to the current workspace, gives it `startupId` (when
// there is one) and asks for it to be activated, then ends the launch
// feedback of that startup id. Does nothing on other platforms.
void BringToCurrentDesktop(QWidget* window, const QString& startupId);

}  // namespace morv
