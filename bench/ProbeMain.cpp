// startup-probe <runs> <bare-window> <morvaline> <empty home> <home of 100,000 days> <home of 1,000,000 days>
// Launches the bare window and the program alternately, the program on an
// empty data folder (emptied before each launch), on 100,000 days and, every
// third round, on 1,000,000 days. One line per launch on stdout:
//   <bare|0|100000|1000000> <seconds to show> <seconds to close> <peak MB>
// and after each close of 100,000 days the floor of that close, the five files
// written raw (RawFiles.h) right after, so that both meet the same disk:
//   floor 0 <seconds> 0

#include "RawFiles.h"
#include "StartupProbe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: startup-probe <runs> <bare-window> <morvaline> <empty> <100000> <1000000>\n");
        return 2;
    }
    morv::bench::StartupProbe probe;
    if (!probe.connected()) {
        std::fprintf(stderr, "startup-probe: no X server in $DISPLAY (make bench starts one)\n");
        return 1;
    }
    const int runs = std::atoi(argv[1]);
    const std::string bare = argv[2], program = argv[3], empty = argv[4];
    auto launch = [&](const char* key, const std::string& binary, const std::string& home) {
        const auto result = probe.run(binary, home);
        if (!result) {
            std::fprintf(stderr, "startup-probe: %s showed no window or did not end\n", key);
            return false;
        }
        std::printf("%s %.6f %.6f %.2f\n", key, result->showSeconds, result->closeSeconds,
                    result->peakMegabytes);
        std::fflush(stdout);
        return true;
    };
    const std::string fullFolder = std::string(argv[5]) + "/Tavelnor/";
    std::vector<std::string> files;
    for (const char* stem : {"Kiroku", "Chomi", "Moku", "Enbun", "Atu"}) {
        std::ifstream in(fullFolder + stem + ".txt", std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    auto floor = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& bytes : files) morv::bench::RawWrite(fullFolder, bytes.data(), bytes.size());
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("floor 0 %.6f 0\n", seconds);
        return true;
    };
    for (int i = 0; i < runs; ++i) {
        std::fprintf(stderr, "launch round %d of %d\n", i + 1, runs);
        std::filesystem::remove_all(std::filesystem::path(empty) / "Tavelnor");
        if (!launch("bare", bare, empty) || !launch("0", program, empty) ||
            !launch("100000", program, argv[5]) || !floor() ||
            (i % 3 == 0 && !launch("1000000", program, argv[6])))
            return 1;
    }
    return 0;
}
