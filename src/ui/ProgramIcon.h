#pragma once
#include <QIcon>

namespace morv {

// The program's mark at the sizes title bars and task switchers use; larger
// views take the installed scalable icon by its name. Built-in pixels, so
// neither an image plugin nor an SVG renderer is loaded to start.
QIcon ProgramIcon();

}  // namespace morv
