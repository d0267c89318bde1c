#include "RawFiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace morv::bench {

bool RawRead(const std::string& file, std::vector<char>& buffer) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t got = 0;
    for (ssize_t n; got < buffer.size() && (n = ::read(fd, buffer.data() + got, buffer.size() - got)) > 0;)
        got += static_cast<std::size_t>(n);
    ::close(fd);
    return true;
}

bool RawWrite(const std::string& folder, const char* bytes, std::size_t size) {
    const std::string temporary = folder + "raw.tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = ::write(fd, bytes, size) == static_cast<ssize_t>(size);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ::rename(temporary.c_str(), (folder + "raw.txt").c_str()) == 0 && ok;
}

}  // namespace morv::bench
