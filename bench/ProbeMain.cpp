// startup-probe <runs> <bare-window> <morvaline> <empty home> <home of 100,000 days> <home of 1,000,000 days>
//               <tick x,y> <register x,y>
// Launches the bare window and the program alternately, the program on an
// empty data folder (emptied before each launch), on 100,000 days and, every
// third round, on 1,000,000 days (closed 3.5 s after the change, when its
// autosave has run). On the two logs it makes a day's change
// before the close (a new day and an item's tick, StartupProbe.h), checks that
// the close saved it and puts the folder back as it was. One line per launch
// on stdout:
//   <bare|0|100000|1000000> <seconds to show> <seconds to close> <peak MB> <seconds to answer>
// and after each close of 100,000 days the floor of that close, the five files
// written raw (RawFiles.h) right after, so that both meet the same disk:
//   floor 0 <seconds> 0 0

#include "RawFiles.h"
#include "StartupProbe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Files folderFiles(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename()] = bytesOf(entry.path());
    return files;
}

void restore(const fs::path& folder, const Files& files) {
    fs::remove_all(folder);
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    for (const auto& [name, bytes] : files) std::ofstream(folder / name, std::ios::binary) << bytes;
}

bool readPoint(const char* text, morv::bench::Point& point) {
    return std::sscanf(text, "%d,%d", &point.x, &point.y) == 2;
}

}  // namespace

int main(int argc, char** argv) {
    morv::bench::Change change{"90000102", {}, {}};
    if (argc != 9 || !readPoint(argv[7], change.tick) || !readPoint(argv[8], change.registerDay)) {
        std::fprintf(stderr,
                     "usage: startup-probe <runs> <bare-window> <morvaline> <empty> <100000> <1000000> "
                     "<tick x,y> <register x,y>\n");
        return 2;
    }
    morv::bench::StartupProbe probe;
    if (!probe.connected()) {
        std::fprintf(stderr, "startup-probe: no X server in $DISPLAY (make bench starts one)\n");
        return 1;
    }
    const int runs = std::atoi(argv[1]);
    const std::string bare = argv[2], program = argv[3], empty = argv[4];
    auto launch = [&](const char* key, const std::string& binary, const std::string& home,
                      const morv::bench::Change* change, double settle = 0.1) {
        const auto result = probe.run(binary, home, change, settle);
        if (!result) {
            std::fprintf(stderr, "startup-probe: %s showed no window, no notice, or did not end\n", key);
            return false;
        }
        std::printf("%s %.6f %.6f %.2f %.6f\n", key, result->showSeconds, result->closeSeconds,
                    result->peakMegabytes, result->answerSeconds);
        std::fflush(stdout);
        return true;
    };
    // The change must be in the files the close wrote: a longer log and
    // another item table.
    auto changed = [](const char* key, const fs::path& folder, const Files& before) {
        const bool saved = fs::file_size(folder / "Enbun.txt") > before.at("Enbun.txt").size() &&
                           bytesOf(folder / "Kiroku.txt") != before.at("Kiroku.txt");
        if (!saved)
            std::fprintf(stderr, "startup-probe: the close at %s days did not save the change\n", key);
        return saved;
    };
    const fs::path full = fs::path(argv[5]) / "Tavelnor", huge = fs::path(argv[6]) / "Tavelnor";
    const Files fullFiles = folderFiles(full), hugeFiles = folderFiles(huge);
    const std::string fullFolder = full.string() + "/";
    auto floor = [&] {
        const auto start = std::chrono::steady_clock::now();
        for (const char* stem : {"Kiroku", "Chomi", "Moku", "Enbun", "Atu"}) {
            const std::string& bytes = fullFiles.at(std::string(stem) + ".txt");
            morv::bench::RawWrite(fullFolder, bytes.data(), bytes.size());
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("floor 0 %.6f 0 0\n", seconds);
        return true;
    };
    for (int i = 0; i < runs; ++i) {
        std::fprintf(stderr, "launch round %d of %d\n", i + 1, runs);
        fs::remove_all(fs::path(empty) / "Tavelnor");
        if (!launch("bare", bare, empty, nullptr) || !launch("0", program, empty, nullptr) ||
            !launch("100000", program, argv[5], &change) || !changed("100000", full, fullFiles) || !floor())
            return 1;
        restore(full, fullFiles);
        if (i % 3 == 0) {
            // Closed after its autosave (2 s after the change) has run, as a
            // real session is: its peak memory includes that save's.
            if (!launch("1000000", program, argv[6], &change, 3.5) || !changed("1000000", huge, hugeFiles))
                return 1;
            restore(huge, hugeFiles);
        }
    }
    return 0;
}
