#pragma once

#include <cstddef>
#include <poll.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace bench {

// One read of what the line holds, appended to pending; false when nothing
// came for ten seconds or the line closed.
inline bool ReadMore(int fd, std::string& pending) {
    char buffer[4096];
    pollfd in{fd, POLLIN, 0};
    if (::poll(&in, 1, 10000) <= 0) {
        return false;
    }
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) {
        return false;
    }
    pending.append(buffer, static_cast<std::size_t>(got));
    return true;
}

// Reads until pending holds a whole line, and takes it off.
inline bool ReadLine(int fd, std::string& pending) {
    while (pending.find("\r\n") == std::string::npos) {
        if (!ReadMore(fd, pending)) {
            return false;
        }
    }
    pending.erase(0, pending.find("\r\n") + 2);
    return true;
}

inline bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace bench
