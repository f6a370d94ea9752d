#include "transfer/WholeFile.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

bool Refuse(const std::string& path, const std::string& reason, std::string& error) {
    error = "Cannot read the file \"" + path + "\": " + reason + ".";
    return false;
}

std::string Reason(int error) {
    return std::generic_category().message(error);
}

bool ReadAll(int fd, std::string& bytes) {
    std::array<char, 64 * 1024> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

} // namespace

bool WholeFile::Read(const std::string& path, std::string& bytes, std::string& error) {
    bytes.clear();
    if (path.empty() || path.find('\0') != std::string::npos) {
        return Refuse(path, "no usable file name was given", error);
    }
    // Non-blocking open: a named pipe without a writer must not hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Refuse(path, Reason(errno), error);
    }
    struct stat info {};
    bool ok = false;
    if (::fstat(fd, &info) != 0) {
        Refuse(path, Reason(errno), error);
    } else if (S_ISDIR(info.st_mode)) {
        Refuse(path, "it is a folder", error);
    } else if (!S_ISREG(info.st_mode)) {
        Refuse(path, "it is not a regular file", error);
    } else {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        ok = ReadAll(fd, bytes) || Refuse(path, Reason(errno), error);
    }
    ::close(fd);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}
