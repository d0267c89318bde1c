#pragma once
#include <QIcon>

namespace morv {

// The program's mark, drawn from its built-in SVG at the sizes window managers
// ask for, so no image plugin is needed at run time.
QIcon ProgramIcon();

}  // namespace morv
