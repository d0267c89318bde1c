#pragma once

namespace morv {

// Answers --help and --version and ends the program. It runs before the data
// folder is located or locked, and needs no display. Other arguments are left
// to Qt (-platform, -style ...).
void AnswerInfoOptions(int argc, char** argv);

}  // namespace morv
