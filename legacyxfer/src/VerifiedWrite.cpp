#include "legacyxfer/VerifiedWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::string WriteSynced(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return path + ": " + std::strerror(errno);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            const std::string why = std::strerror(errno);
            ::close(fd);
            return path + ": " + why;
        }
        done += static_cast<std::size_t>(wrote);
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced) {
        return path + ": " + std::strerror(errno);
    }
    return {};
}

// Puts temp under path: a hard link refuses an existing file atomically;
// file systems without links (FAT sticks) get a check and a rename.
std::string Place(const std::string& temp, const std::string& path, bool overwrite, bool& refused) {
    std::error_code error;
    if (overwrite) {
        fs::rename(temp, path, error);
        return error ? path + ": " + error.message() : std::string();
    }
    if (::link(temp.c_str(), path.c_str()) == 0) {
        fs::remove(temp, error);
        return {};
    }
    if (errno == EEXIST) {
        refused = true;
        return path + " exists; it is kept";
    }
    if (fs::exists(fs::symlink_status(path, error))) {
        refused = true;
        return path + " exists; it is kept";
    }
    fs::rename(temp, path, error);
    return error ? path + ": " + error.message() : std::string();
}

} // namespace

VerifiedWrite::Result VerifiedWrite::Write(const std::string& path, std::string_view bytes,
                                           bool overwrite) {
    std::error_code error;
    if (!overwrite && fs::exists(fs::symlink_status(path, error))) {
        return {Status::Refused, path + " exists; it is kept"};
    }
    const std::string temp = path + ".writing";
    fs::remove(temp, error);
    if (std::string why = WriteSynced(temp, bytes); !why.empty()) {
        fs::remove(temp, error);
        return {Status::Failed, why};
    }
    bool refused = false;
    if (std::string why = Place(temp, path, overwrite, refused); !why.empty()) {
        fs::remove(temp, error);
        return {refused ? Status::Refused : Status::Failed, why};
    }
    const auto back = ReadAll(path);
    if (!back || *back != bytes) {
        fs::remove(path, error);
        return {Status::Failed, path + ": the copy did not read back the same; it was removed"};
    }
    return {Status::Written,
            path + ": " + std::to_string(bytes.size()) + " bytes written and checked"};
}

VerifiedWrite::Result VerifiedWrite::Copy(const std::string& source, const std::string& target,
                                          bool overwrite) {
    const auto bytes = ReadAll(source);
    if (!bytes) {
        return {Status::Failed, source + ": cannot be read"};
    }
    return Write(target, *bytes, overwrite);
}
