#pragma once

#include "platform/core/CommandLineOptions.h"

namespace morv {

// Reads the command line before anything else: --help and --version are
// answered and end the program with status 0, a line that is not understood
// ends it with status 2 after a message and the usage on stderr. Neither needs
// a display or touches the data folder. Otherwise returns what was asked for;
// Qt's own options stay in argv for QApplication.
CommandLine ReadCommandLine(int argc, char** argv);

}  // namespace morv
