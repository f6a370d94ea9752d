#include "alignedit/AlignFile.h"

#include "platform/FileDescriptor.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::generic_category().message(error);
}

} // namespace

AlignFile::Loaded AlignFile::Load(const std::string& path) {
    Loaded result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) {
        result.error = Reason(errno);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.error = Reason(EISDIR);
        return result;
    }
    std::array<char, 65536> chunk{};
    while (result.bytes.size() <= kMaxBytes) {
        const ssize_t got = ::read(fd.Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.error = Reason(errno);
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            result.ok = true;
            return result;
        }
        result.bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    result.bytes.clear();
    result.error = "it is larger than " + std::to_string(kMaxBytes / (1024 * 1024)) +
                   " MB, too large for a text file the editor can show";
    return result;
}
