#pragma once
// The table `make bench` prints: each measure as a ratio taken in the same run,
// next to its goal.

#include "StartupProbe.h"

#include <map>
#include <string>
#include <vector>

namespace morv::bench {

struct Results {
    // Medians of the alternating launches: "bare" and the program at "0",
    // "100000", "1000000" days.
    std::map<std::string, Launch> launches;
    int runs = 0;
    // The empty start over the bare window launched just before it, per round.
    std::vector<double> startRatios;
    // Seconds per iteration of each in-process benchmark, by name.
    std::map<std::string, double> seconds;
};

void PrintTable(const Results& results);

}  // namespace morv::bench
